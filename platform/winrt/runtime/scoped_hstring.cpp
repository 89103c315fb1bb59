#include "platform/winrt/runtime/scoped_hstring.h"

#include <winstring.h>

namespace winrt_layer {

ScopedHString& ScopedHString::operator=(ScopedHString&& other) noexcept {
  if (this != &other) {
    WindowsDeleteString(std::exchange(string_, std::exchange(other.string_, nullptr)));
  }
  return *this;
}

ScopedHString::~ScopedHString() {
  WindowsDeleteString(string_);
}

ScopedHString ScopedHString::Create(std::wstring_view text, HRESULT* result) {
  ScopedHString string;
  *result = WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), string.Receive());
  return string;
}

HSTRING* ScopedHString::Receive() {
  WindowsDeleteString(std::exchange(string_, nullptr));
  return &string_;
}

std::wstring_view ScopedHString::View(HSTRING string) {
  UINT32 length = 0;
  PCWSTR buffer = WindowsGetStringRawBuffer(string, &length);
  return std::wstring_view(buffer, length);
}

}  // namespace winrt_layer
