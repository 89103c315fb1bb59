#include "app/app_codec.h"

const flutter::StandardMethodCodec& AppCodec() {
  static const flutter::StandardCodecSerializer serializer;
  static const flutter::StandardMethodCodec codec(&serializer);
  return codec;
}
