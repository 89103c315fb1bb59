#include "platform/engine/start_failure.h"

#include <windows.h>

#include <iostream>

namespace norvalis_engine {
namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) {
    return std::string();
  }
  const int wide_size = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), wide_size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide_size, utf8.data(), size, nullptr, nullptr);
  }
  return utf8;
}

}  // namespace

void ReportStartFailure(const char* reason, const std::wstring& path) {
  std::cerr << reason << ToUtf8(path) << std::endl;
}

}  // namespace norvalis_engine
