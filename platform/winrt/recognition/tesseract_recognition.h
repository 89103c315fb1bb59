#ifndef PLATFORM_WINRT_RECOGNITION_TESSERACT_RECOGNITION_H_
#define PLATFORM_WINRT_RECOGNITION_TESSERACT_RECOGNITION_H_

#include <tesseract/baseapi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/runtime/runtime_error.h"

namespace winrt_layer {

// What Tesseract read in an image, or in part of one.
struct RecognizedText {
  // The lines in reading order, without their line breaks, joined by "\n";
  // lines of white space only are left out.
  std::string text;
  // Tesseract's mean word confidence, 0 to 100; 0 when no text was read.
  int confidence = 0;
};

// The description of a recognition whose time ran out.
inline constexpr wchar_t kOutOfTimeMessage[] =
    L"The image holds more text than can be recognised in the time allowed.";

// What ends a recognition early: its operation was canceled, or its time
// ran out at `deadline`.
struct RecognitionStop {
  // Whether the recognition is to end now: it was canceled, its time ran
  // out, or the process is exiting.
  bool Requested() const;
  // What a recognition that ended because it was Requested() fails with:
  // ERROR_TIMEOUT, with kOutOfTimeMessage, when the time ran out;
  // ERROR_CANCELLED otherwise, as its canceled operation reports.
  RuntimeError Failure() const;

  const std::atomic<bool>& canceled;
  std::chrono::steady_clock::time_point deadline;
};

// Keeps Tesseract to the calling thread. Debian's Tesseract parallelizes
// with OpenMP, asking for more threads than a 2-core machine has, which
// makes every recognition several times slower. The limit belongs to the
// thread, so each recognizing thread sets it.
void UseOneTesseractThread();

// Recognizes `image` with `recognizer`, at `resolution` dots per inch, on
// the calling thread; it stops early when `stop` says so or the process is
// exiting. A null image is out of memory. Failures: E_OUTOFMEMORY;
// ERROR_NOT_ENOUGH_QUOTA, with a description, for an image with more than
// kMaxOutlinePixels of outline; ERROR_TIMEOUT, with a description, when the
// deadline passed first (Tesseract looks at it between words); E_FAIL,
// with a description, when Tesseract fails.
RuntimeError RecognizeWithTesseract(tesseract::TessBaseAPI* recognizer,
                                    ScopedPix image,
                                    uint32_t resolution,
                                    const RecognitionStop& stop,
                                    RecognizedText* recognized);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_TESSERACT_RECOGNITION_H_
