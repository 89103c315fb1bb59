#ifndef PLATFORM_WINRT_RUNTIME_UTF_CONVERSION_H_
#define PLATFORM_WINRT_RUNTIME_UTF_CONVERSION_H_

#include <string>
#include <string_view>

namespace winrt_layer {

// UTF-8 and UTF-16 through MultiByteToWideChar and WideCharToMultiByte
// (CP_UTF8, no flags), as Windows converts: ill-formed input becomes
// U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_UTF_CONVERSION_H_
