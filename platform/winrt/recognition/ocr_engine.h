#ifndef PLATFORM_WINRT_RECOGNITION_OCR_ENGINE_H_
#define PLATFORM_WINRT_RECOGNITION_OCR_ENGINE_H_

#include <windows.media.ocr.h>

#include <memory>
#include <string>

#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// Windows.Media.Ocr.OcrEngine: recognition in one language with Tesseract.
class OcrEngine final : public RuntimeClass<ABI::Windows::Media::Ocr::IOcrEngine, IAgileObject> {
 public:
  // `language_tag` is the BCP-47 tag the engine was created for.
  OcrEngine(std::wstring language_tag, std::shared_ptr<RecognizerPool> recognizers);

  // A null bitmap, one wider or taller than kMaxImageDimension, or one this
  // runtime did not decode fails at once with E_INVALIDARG, with a
  // description. Recognition runs on the thread pool; Cancel stops it
  // early. Lines come in reading order, joined by "\n".
  IFACEMETHODIMP RecognizeAsync(
      ABI::Windows::Graphics::Imaging::ISoftwareBitmap* bitmap,
      ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Media::Ocr::OcrResult*>** operation)
      override;
  IFACEMETHODIMP get_RecognizerLanguage(ABI::Windows::Globalization::ILanguage** value) override;

 private:
  const wchar_t* ClassName() const override;

  const std::wstring language_tag_;
  const std::shared_ptr<RecognizerPool> recognizers_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_OCR_ENGINE_H_
