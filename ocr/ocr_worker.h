#ifndef OCR_OCR_WORKER_H_
#define OCR_OCR_WORKER_H_

#include <string>

// What a recognition reports when it fails without a text of its own.
inline constexpr char kUnknownOcrErrorMessage[] = "Erreur OCR inconnue";

// One recognition handed to a worker thread. The strings belong to the
// caller and outlive the thread; the worker reads `path` and writes either
// `text` or `error`, never both.
struct OcrJob {
  std::string& text;
  const std::string& path;
  std::string& error;
};

// The body of a worker thread: enters the multithreaded apartment,
// recognises the text of the file at `job.path`, and leaves either the
// text in `job.text` or a non-empty error text in `job.error`. Lets no
// failure escape.
void OcrWorker(OcrJob& job) noexcept;

#endif  // OCR_OCR_WORKER_H_
