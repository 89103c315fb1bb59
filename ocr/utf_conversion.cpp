#include "ocr/utf_conversion.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace {

// The platform counts in int.
int PlatformLength(size_t length) {
  if (length > static_cast<size_t>(INT_MAX)) {
    throw std::length_error("text too long for the platform's conversion");
  }
  return static_cast<int>(length);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int byte_count = PlatformLength(bytes.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), byte_count, nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), byte_count, text.data(), length);
  return text;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int unit_count = PlatformLength(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), unit_count, nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    return {};
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), unit_count, bytes.data(), length, nullptr, nullptr);
  return bytes;
}
