#ifndef PLATFORM_WINRT_RECOGNITION_OCR_RESULT_H_
#define PLATFORM_WINRT_RECOGNITION_OCR_RESULT_H_

#include <windows.media.ocr.h>

#include <string>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// Windows.Media.Ocr.OcrResult: the recognized text. Lines and the text
// angle are E_NOTIMPL.
class OcrResult final : public RuntimeClass<ABI::Windows::Media::Ocr::IOcrResult, IAgileObject> {
 public:
  // The lines in reading order, joined by "\n".
  explicit OcrResult(std::wstring text);

  IFACEMETHODIMP get_Lines(IInspectable** value) override;
  IFACEMETHODIMP get_TextAngle(IInspectable** value) override;
  // Null when nothing was recognized.
  IFACEMETHODIMP get_Text(HSTRING* value) override;

 private:
  const wchar_t* ClassName() const override;

  const std::wstring text_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_OCR_RESULT_H_
