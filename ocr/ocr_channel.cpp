#include "ocr/ocr_channel.h"

#include <memory>

#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/method_channel.h"
#include "ocr/ocr_channel_handler.h"

namespace {

// Lives until the process exits. The messenger, not the channel, holds the
// handler's registration, so releasing the channel unregisters nothing.
std::shared_ptr<flutter::MethodChannel<flutter::EncodableValue>> ocr_channel;

}  // namespace

void InstallOcrChannel(flutter::FlutterEngine* engine) {
  ocr_channel = std::make_shared<flutter::MethodChannel<flutter::EncodableValue>>(
      engine->GetBinaryMessenger(), kOcrChannelName, &flutter::CodecForSerializer(nullptr));
  ocr_channel->SetCallHandler(OcrChannelHandler);
}
