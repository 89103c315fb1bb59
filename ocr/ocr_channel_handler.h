#ifndef OCR_OCR_CHANNEL_HANDLER_H_
#define OCR_OCR_CHANNEL_HANDLER_H_

#include <memory>
#include <string>

#include "codec/encodable_value.h"
#include "engine_bridge/method_call.h"
#include "engine_bridge/method_result.h"

// The one method the OCR channel serves.
inline constexpr char kRecognizeMethod[] = "recognize";
// The argument map's key for the image file's path.
inline constexpr char kPathArgument[] = "path";

// The error replies: a call without a usable path, and a failed recognition
// (with the failure's text as its message).
inline constexpr char kBadArgsCode[] = "bad_args";
inline constexpr char kMissingPathMessage[] = "Paramètre 'path' manquant";
inline constexpr char kOcrFailedCode[] = "ocr_failed";

// The call handler of the OCR channel. "recognize" with a map holding a
// non-empty string under "path" is answered with the text recognised in
// that file, or "ocr_failed"; without a usable path with "bad_args"; any
// other method with NotImplemented. Every call is answered exactly once
// before the handler returns, and nothing is raised. Blocks the calling
// (main) thread for the whole recognition, so calls never overlap.
void OcrChannelHandler(const flutter::MethodCall<flutter::EncodableValue>& call,
                       std::unique_ptr<flutter::MethodResult<flutter::EncodableValue>> result);

// Recognises the text of the file at `path` on a thread of its own and waits
// for that thread to end. Raises a MessageFailure with the worker's error
// text when the recognition fails, kUnknownOcrErrorMessage when the worker
// had no text to give.
std::string RecognizeOnWorker(const std::string& path);

#endif  // OCR_OCR_CHANNEL_HANDLER_H_
