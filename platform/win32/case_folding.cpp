#include "platform/win32/case_folding.h"

namespace win32 {

wchar_t UpperCaseUnit(wchar_t unit) {
  const unsigned c = static_cast<unsigned>(unit);
  if (c >= u'a' && c <= u'z') {
    return static_cast<wchar_t>(c - 0x20);
  }
  if (c < 0xB5) {
    return unit;
  }
  if (c == 0xB5) {
    return static_cast<wchar_t>(0x39C);
  }
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
    return static_cast<wchar_t>(c - 0x20);
  }
  if (c == 0xFF) {
    return static_cast<wchar_t>(0x178);
  }
  // Latin Extended-A pairs upper and lower case letters in adjacent units; the
  // runs differ in which of the two comes first.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return static_cast<wchar_t>(c & ~1u);
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return static_cast<wchar_t>((c % 2 == 0) ? c - 1 : c);
  }
  if (c == 0x3C2) {
    return static_cast<wchar_t>(0x3A3);
  }
  if (c >= 0x3B1 && c <= 0x3CB) {
    return static_cast<wchar_t>(c - 0x20);
  }
  if (c >= 0x430 && c <= 0x44F) {
    return static_cast<wchar_t>(c - 0x20);
  }
  if (c >= 0x450 && c <= 0x45F) {
    return static_cast<wchar_t>(c - 0x50);
  }
  if (c >= 0xFF41 && c <= 0xFF5A) {
    return static_cast<wchar_t>(c - 0x20);
  }
  return unit;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperCaseUnit(a[i]) != UpperCaseUnit(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace win32
