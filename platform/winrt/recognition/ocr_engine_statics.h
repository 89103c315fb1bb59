#ifndef PLATFORM_WINRT_RECOGNITION_OCR_ENGINE_STATICS_H_
#define PLATFORM_WINRT_RECOGNITION_OCR_ENGINE_STATICS_H_

#include <windows.media.ocr.h>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// The activation factory of Windows.Media.Ocr.OcrEngine. A language has a
// recognizer when Tesseract's data for it is installed (see
// tesseract_languages.h); the list of available languages is E_NOTIMPL.
class OcrEngineStatics final
    : public RuntimeClass<ABI::Windows::Media::Ocr::IOcrEngineStatics, IAgileObject> {
 public:
  OcrEngineStatics() = default;

  // kMaxImageDimension: 10000.
  IFACEMETHODIMP get_MaxImageDimension(UINT32* value) override;
  IFACEMETHODIMP get_AvailableRecognizerLanguages(IInspectable** value) override;
  IFACEMETHODIMP IsLanguageSupported(ABI::Windows::Globalization::ILanguage* language,
                                     boolean* value) override;
  IFACEMETHODIMP TryCreateFromLanguage(ABI::Windows::Globalization::ILanguage* language,
                                       ABI::Windows::Media::Ocr::IOcrEngine** engine) override;
  // The first of ProfileLanguages() that has a recognizer.
  IFACEMETHODIMP TryCreateFromUserProfileLanguages(
      ABI::Windows::Media::Ocr::IOcrEngine** engine) override;

 private:
  const wchar_t* ClassName() const override;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_OCR_ENGINE_STATICS_H_
