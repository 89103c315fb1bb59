#include "ocr/ocr_worker.h"

#include <objbase.h>

#include "ocr/message_failure.h"
#include "ocr/platform_error.h"
#include "ocr/recognize_image_file.h"
#include "ocr/utf_conversion.h"

namespace {

// The error text of the failure being handled.
std::string CurrentFailureText() {
  try {
    throw;
  } catch (const PlatformError& error) {
    return WideToUtf8(error.Message());
  } catch (const MessageFailure& failure) {
    return failure.message();
  } catch (...) {
    return kUnknownOcrErrorMessage;
  }
}

// Records the text of the failure being handled in `error`.
void RecordFailureText(std::string& error) noexcept {
  try {
    error = CurrentFailureText();
    // A code without a system message still gets a text of its own.
    if (error.empty()) {
      error = kUnknownOcrErrorMessage;
    }
  } catch (...) {
    // No memory for the text: the outcome alone says that it failed.
    error.clear();
  }
}

}  // namespace

void OcrWorker(OcrJob& job) noexcept {
  job.outcome = OcrOutcome::kFailed;
  const HRESULT apartment = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  try {
    ThrowIfFailed(apartment);
    job.text = RecognizeImageFile(job.path);
    job.outcome = OcrOutcome::kRecognised;
  } catch (...) {
    RecordFailureText(job.error);
  }
  if (SUCCEEDED(apartment)) {
    CoUninitialize();
  }
}
