#include "platform/winrt/runtime/utf_conversion.h"

#include <winnls.h>

#include <limits>
#include <stdexcept>

namespace winrt_layer {
namespace {

// The conversion functions count in int; a longer text is refused rather
// than cut short.
int ConversionLength(size_t size) {
  if (size > static_cast<size_t>(std::numeric_limits<int>::max())) {
    throw std::length_error("text too long to convert between UTF-8 and UTF-16");
  }
  return static_cast<int>(size);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) {
    return std::wstring();
  }
  const int size = ConversionLength(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (length <= 0) {
    return std::wstring();
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) {
    return std::string();
  }
  const int size = ConversionLength(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    return std::string();
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

}  // namespace winrt_layer
