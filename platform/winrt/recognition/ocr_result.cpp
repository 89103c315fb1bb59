#include "platform/winrt/recognition/ocr_result.h"

#include <winstring.h>

namespace winrt_layer {

OcrResult::OcrResult(std::wstring text) : text_(std::move(text)) {}

IFACEMETHODIMP OcrResult::get_Lines(IInspectable** value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP OcrResult::get_TextAngle(IInspectable** value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP OcrResult::get_Text(HSTRING* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  return WindowsCreateString(text_.data(), static_cast<UINT32>(text_.size()), value);
}

const wchar_t* OcrResult::ClassName() const {
  return L"Windows.Media.Ocr.OcrResult";
}

}  // namespace winrt_layer
