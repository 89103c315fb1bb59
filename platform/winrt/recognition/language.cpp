#include "platform/winrt/recognition/language.h"

#include <winstring.h>

#include <vector>

namespace winrt_layer {
namespace {

bool IsAsciiLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsAsciiDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

wchar_t ToLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

wchar_t ToUpper(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

Language::Language(std::wstring tag) : tag_(std::move(tag)) {}

std::optional<std::wstring> Language::Canonicalize(std::wstring_view tag) {
  std::wstring canonical;
  size_t index = 0;
  size_t start = 0;
  while (true) {
    size_t end = tag.find(L'-', start);
    std::wstring_view subtag =
        tag.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    if (subtag.empty() || subtag.size() > 8) {
      return std::nullopt;
    }
    bool letters_only = true;
    for (wchar_t c : subtag) {
      if (!IsAsciiLetter(c)) {
        letters_only = false;
        if (!IsAsciiDigit(c) || index == 0) {
          return std::nullopt;
        }
      }
    }
    if (index == 0 && subtag.size() < 2) {
      return std::nullopt;
    }
    if (index > 0) {
      canonical += L'-';
    }
    // After the language: a script is title case, a region upper case.
    for (size_t i = 0; i < subtag.size(); ++i) {
      wchar_t c = ToLower(subtag[i]);
      if (index > 0 && letters_only && (subtag.size() == 2 || (subtag.size() == 4 && i == 0))) {
        c = ToUpper(c);
      }
      canonical += c;
    }
    if (end == std::wstring_view::npos) {
      return canonical;
    }
    start = end + 1;
    ++index;
  }
}

IFACEMETHODIMP Language::get_LanguageTag(HSTRING* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  return WindowsCreateString(tag_.data(), static_cast<UINT32>(tag_.size()), value);
}

IFACEMETHODIMP Language::get_DisplayName(HSTRING*) {
  return E_NOTIMPL;
}

IFACEMETHODIMP Language::get_NativeName(HSTRING*) {
  return E_NOTIMPL;
}

IFACEMETHODIMP Language::get_Script(HSTRING*) {
  return E_NOTIMPL;
}

const wchar_t* Language::ClassName() const {
  return L"Windows.Globalization.Language";
}

}  // namespace winrt_layer
