#ifndef PLATFORM_WIN32_STRING_CONVERSION_H_
#define PLATFORM_WIN32_STRING_CONVERSION_H_

#include <string>
#include <string_view>

namespace win32 {

// The layer's own conversions between UTF-8 and wide (UTF-16) strings, with
// the CP_UTF8 rules and no flags: ill-formed input becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace win32

#endif  // PLATFORM_WIN32_STRING_CONVERSION_H_
