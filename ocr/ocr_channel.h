#ifndef OCR_OCR_CHANNEL_H_
#define OCR_OCR_CHANNEL_H_

#include "engine_bridge/flutter_engine.h"

// The method channel on which the application asks for recognitions.
inline constexpr char kOcrChannelName[] = "norvalis/ocr";

// Serves OcrChannelHandler on kOcrChannelName of `engine`'s messenger, with
// the standard method codec. The channel is kept for the rest of the
// process; a later call replaces it and the messenger's registration. Main
// thread only.
void InstallOcrChannel(flutter::FlutterEngine* engine);

#endif  // OCR_OCR_CHANNEL_H_
