#ifndef PLATFORM_WINRT_RECOGNITION_PAGE_SPLIT_H_
#define PLATFORM_WINRT_RECOGNITION_PAGE_SPLIT_H_

#include <tesseract/baseapi.h>

#include <cstdint>
#include <future>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/recognition/tesseract_recognition.h"
#include "platform/winrt/runtime/runtime_error.h"

namespace winrt_layer {

// The outcome of a recognition on a thread of its own.
struct AsideRecognition {
  RuntimeError error;
  RecognizedText recognized;
};

// A recognizer from `recognizers`, acquired on a thread of its own when one
// can start. Loading a language's data the first time and what a caller
// does meanwhile need each other only at the end: on a second core they
// overlap.
std::future<RecognizerPool::Lease> AcquireAside(RecognizerPool& recognizers);

// `image` recognized as RecognizeWithTesseract does, on a thread of its own,
// by `recognizer` once it is acquired; no future when no thread can start.
// `image` must be the caller's alone: Leptonica counts the references of a
// clone without a lock.
std::future<AsideRecognition> RecognizeAside(std::future<RecognizerPool::Lease> recognizer,
                                             ScopedPix image,
                                             uint32_t resolution,
                                             const RecognitionStop& stop);

// Whether RecognizePageSplit cuts `prepared` in two.
bool CutsAtLine(PIX* prepared);

// Recognizes each of `pages`, pages as PagePreparation leaves them, with
// `recognizer`, as RecognizeWithTesseract does. Each page that holds enough
// lines is cut in two at its line cut, and `second_recognizer`, once
// acquired, reads parts of pages on a thread of its own while `recognizer`
// does, each taking the next part not yet read: the second core makes that
// sooner even when the second recognizer must load its language first, and
// neither waits for the other between two pages. A page's parts' texts are
// joined and their confidences weighed by the text each read. An outcome
// for each page, in order: a null page is out of memory; a failure of
// either part is the failure of the page.
std::vector<AsideRecognition> RecognizePagesSplit(
    std::future<RecognizerPool::Lease> second_recognizer,
    tesseract::TessBaseAPI* recognizer,
    std::vector<ScopedPix> pages,
    uint32_t resolution,
    const RecognitionStop& stop);

// RecognizePagesSplit of the one page `prepared`, with a second recognizer
// from `recognizers` acquired when the page is cut.
RuntimeError RecognizePageSplit(RecognizerPool& recognizers,
                                tesseract::TessBaseAPI* recognizer,
                                ScopedPix prepared,
                                uint32_t resolution,
                                const RecognitionStop& stop,
                                RecognizedText* recognized);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_PAGE_SPLIT_H_
