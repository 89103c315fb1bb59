#ifndef PLATFORM_WIN32_CASE_FOLDING_H_
#define PLATFORM_WIN32_CASE_FOLDING_H_

#include <string_view>

namespace win32 {

// Windows compares class names and window titles by upper-casing each UTF-16
// unit. The mapping covers Basic Latin, Latin-1, Latin Extended-A, Greek,
// Cyrillic and fullwidth Latin; other units compare exactly.
wchar_t UpperCaseUnit(wchar_t unit);

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace win32

#endif  // PLATFORM_WIN32_CASE_FOLDING_H_
