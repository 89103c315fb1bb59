#ifndef OCR_UTF_CONVERSION_H_
#define OCR_UTF_CONVERSION_H_

#include <string>
#include <string_view>

// UTF-8 to UTF-16 through the platform, without refusing ill-formed input:
// what the platform makes of it is passed on.
std::wstring Utf8ToWide(std::string_view bytes);

// UTF-16 to UTF-8 through the platform, without refusing ill-formed input;
// empty when the platform cannot convert at all.
std::string WideToUtf8(std::wstring_view text);

#endif  // OCR_UTF_CONVERSION_H_
