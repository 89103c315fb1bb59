#ifndef OCR_OCR_WORKER_H_
#define OCR_OCR_WORKER_H_

#include <string>

// What a recognition reports when it fails without a text of its own.
inline constexpr char kUnknownOcrErrorMessage[] = "Erreur OCR inconnue";

// How a recognition ended. Kept apart from the texts, so that a failure
// whose text could not be recorded (no memory left, or a code without a
// system message) still reads as a failure.
enum class OcrOutcome { kFailed, kRecognised };

// One recognition handed to a worker thread. The strings and the outcome
// belong to the caller and outlive the thread; the worker reads `path` and
// writes either `text` or `error`, never both.
struct OcrJob {
  std::string& text;
  const std::string& path;
  std::string& error;
  OcrOutcome& outcome;
};

// The body of a worker thread: enters the multithreaded apartment,
// recognises the text of the file at `job.path`, and sets `job.outcome`:
// kRecognised with the text in `job.text`, or kFailed with the failure's
// text in `job.error` as far as there was memory to record it (empty then).
// Lets no failure escape.
void OcrWorker(OcrJob& job) noexcept;

#endif  // OCR_OCR_WORKER_H_
