#ifndef PLATFORM_WINRT_RECOGNITION_UPRIGHT_RECOGNITION_H_
#define PLATFORM_WINRT_RECOGNITION_UPRIGHT_RECOGNITION_H_

#include <string>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/recognition/tesseract_recognition.h"
#include "platform/winrt/runtime/runtime_error.h"

namespace winrt_layer {

// The text of `pixels`, recognized with the language of `recognizers` the
// right way up: the page is analyzed, turned upright, leveled and prepared
// before Tesseract reads it. Runs on the calling thread; it stops early
// when `stop` says so. Failures: E_FAIL, with a description, when the
// language's data cannot be loaded; E_OUTOFMEMORY; those of
// RecognizeWithTesseract.
RuntimeError RecognizeUpright(RecognizerPool& recognizers,
                              const LeptonicaImage& pixels,
                              const RecognitionStop& stop,
                              std::string* text);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_UPRIGHT_RECOGNITION_H_
