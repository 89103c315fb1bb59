#ifndef PLATFORM_WINRT_RECOGNITION_LANGUAGE_H_
#define PLATFORM_WINRT_RECOGNITION_LANGUAGE_H_

#include <windows.globalization.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// Windows.Globalization.Language: a language named by a well-formed BCP-47
// tag.
class Language final : public RuntimeClass<ABI::Windows::Globalization::ILanguage, IAgileObject> {
 public:
  // `tag` in canonical case (`Canonicalize`).
  explicit Language(std::wstring tag);

  // The tag with its subtags in their canonical case ("en-us" is "en-US",
  // "zh-hant-tw" is "zh-Hant-TW"), or nothing when it is not well-formed:
  // a primary subtag of 2 to 8 letters, then subtags of 1 to 8 letters or
  // digits, separated by hyphens.
  static std::optional<std::wstring> Canonicalize(std::wstring_view tag);

  const std::wstring& tag() const { return tag_; }

  IFACEMETHODIMP get_LanguageTag(HSTRING* value) override;
  // Names of languages are not known here: E_NOTIMPL.
  IFACEMETHODIMP get_DisplayName(HSTRING* value) override;
  IFACEMETHODIMP get_NativeName(HSTRING* value) override;
  IFACEMETHODIMP get_Script(HSTRING* value) override;

 private:
  const wchar_t* ClassName() const override;

  const std::wstring tag_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_LANGUAGE_H_
