#ifndef APP_APP_CODEC_H_
#define APP_APP_CODEC_H_

#include "codec/standard_method_codec.h"

// The standard method codec, as objects of the application library itself:
// they go when the engine unloads it. (The codec's process-wide instances
// are never destroyed; made from an unloaded library they would be lost,
// and leak checkers say so.)
const flutter::StandardMethodCodec& AppCodec();

#endif  // APP_APP_CODEC_H_
