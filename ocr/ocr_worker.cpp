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

}  // namespace

void OcrWorker(OcrJob& job) noexcept {
  const HRESULT apartment = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  try {
    // Room for the fallback text up front, so that recording a failure
    // later does not depend on memory that may have run out.
    job.error.reserve(sizeof(kUnknownOcrErrorMessage));
    ThrowIfFailed(apartment);
    job.text = RecognizeImageFile(job.path);
  } catch (...) {
    try {
      job.error = CurrentFailureText();
    } catch (...) {
      job.error.clear();
    }
    // A failure must read as one: a code without a system message would
    // otherwise pass for an empty recognition.
    if (job.error.empty() && job.error.capacity() >= sizeof(kUnknownOcrErrorMessage)) {
      job.error = kUnknownOcrErrorMessage;
    }
  }
  if (SUCCEEDED(apartment)) {
    CoUninitialize();
  }
}
