#ifndef PLATFORM_WINRT_INCLUDE_WINDOWS_GLOBALIZATION_H_
#define PLATFORM_WINRT_INCLUDE_WINDOWS_GLOBALIZATION_H_

// Windows.Globalization: languages by their BCP-47 tags.

#include <inspectable.h>

namespace ABI::Windows::Globalization {

class Language;

struct ILanguage : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_LanguageTag(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NativeName(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Script(HSTRING* value) = 0;
};

struct ILanguageFactory : public IInspectable {
  // A tag that is not well-formed fails with E_INVALIDARG.
  virtual HRESULT STDMETHODCALLTYPE CreateLanguage(HSTRING language_tag, ILanguage** value) = 0;
};

}  // namespace ABI::Windows::Globalization

inline constexpr WCHAR RuntimeClass_Windows_Globalization_Language[] =
    L"Windows.Globalization.Language";

// clang-format off
__CRT_UUID_DECL(ABI::Windows::Globalization::ILanguage, 0xea79a752, 0xf7c2, 0x4265, 0xb1, 0xbd, 0xc4, 0xde, 0xc4, 0xe4, 0xf0, 0x80)
__CRT_UUID_DECL(ABI::Windows::Globalization::ILanguageFactory, 0x9b0252ac, 0x0c27, 0x44f8, 0xb7, 0x92, 0x97, 0x93, 0xfb, 0x66, 0xc6, 0x3e)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_WINDOWS_GLOBALIZATION_H_
