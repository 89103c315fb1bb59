#include "ocr/ocr_channel_handler.h"

#include <thread>
#include <utility>

#include "ocr/message_failure.h"
#include "ocr/ocr_worker.h"

namespace {

using flutter::EncodableValue;
using flutter::ValueMap;

// The path the call carries, or empty when it carries none that is usable.
std::string PathArgument(const flutter::MethodCall<EncodableValue>& call) {
  const EncodableValue* arguments = call.args();
  if (arguments == nullptr) {
    return {};
  }
  const auto* map = arguments->GetIf<ValueMap>();
  if (map == nullptr) {
    return {};
  }
  const auto entry = map->find(EncodableValue(std::string(kPathArgument)));
  if (entry == map->end()) {
    return {};
  }
  const auto* path = entry->second.GetIf<std::string>();
  return path == nullptr ? std::string() : *path;
}

void AnswerRecognize(const flutter::MethodCall<EncodableValue>& call,
                     flutter::MethodResult<EncodableValue>& result) {
  const std::string path = PathArgument(call);
  if (path.empty()) {
    result.Error(kBadArgsCode, kMissingPathMessage);
    return;
  }
  try {
    result.Success(EncodableValue(RecognizeOnWorker(path)));
  } catch (const MessageFailure& failure) {
    result.Error(kOcrFailedCode, failure.message());
  }
}

}  // namespace

void OcrChannelHandler(const flutter::MethodCall<EncodableValue>& call,
                       std::unique_ptr<flutter::MethodResult<EncodableValue>> result) {
  if (call.method() != kRecognizeMethod) {
    result->NotImplemented();
    return;
  }
  try {
    AnswerRecognize(call, *result);
  } catch (...) {
    // No thread, no memory for the reply: still one answer, and nothing
    // may reach the engine's callback. An answer already sent makes this
    // one a reported duplicate rather than a second reply.
    try {
      result->Error(kOcrFailedCode, kUnknownOcrErrorMessage);
    } catch (...) {
      // Nothing is left to answer with; the result reports itself
      // unanswered when it goes.
    }
  }
}

std::string RecognizeOnWorker(const std::string& path) {
  std::string text;
  std::string error;
  OcrOutcome outcome = OcrOutcome::kFailed;
  auto job = std::make_unique<OcrJob>(OcrJob{text, path, error, outcome});
  std::thread worker([job = std::move(job)]() mutable {
    OcrWorker(*job);
    job.reset();
  });
  worker.join();
  if (outcome == OcrOutcome::kFailed) {
    throw MessageFailure(error.empty() ? std::string(kUnknownOcrErrorMessage) : error);
  }
  return text;
}
