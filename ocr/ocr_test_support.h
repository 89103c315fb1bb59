#ifndef OCR_OCR_TEST_SUPPORT_H_
#define OCR_OCR_TEST_SUPPORT_H_

#include <windows.h>

#include <string>
#include <thread>

#include "ocr/ocr_worker.h"
#include "ocr/platform_error.h"
#include "ocr/utf_conversion.h"

// What a worker left in its job.
struct WorkerOutcome {
  std::string text;
  std::string error;
  OcrOutcome outcome = OcrOutcome::kFailed;
};

// Runs OcrWorker for `path` on a thread of its own, as the handler does.
inline WorkerOutcome RunWorker(const std::string& path) {
  WorkerOutcome outcome;
  OcrJob job{outcome.text, path, outcome.error, outcome.outcome};
  std::thread([&job] { OcrWorker(job); }).join();
  return outcome;
}

// The system's message for `code`, as a failure with that code reports it.
inline std::string SystemText(HRESULT code) {
  return WideToUtf8(PlatformError(code).Message());
}

#endif  // OCR_OCR_TEST_SUPPORT_H_
