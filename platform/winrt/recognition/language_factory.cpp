#include "platform/winrt/recognition/language_factory.h"

#include <new>

#include "platform/winrt/recognition/language.h"
#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/scoped_hstring.h"

namespace winrt_layer {
namespace {

constexpr wchar_t kMalformedTagMessage[] = L"The language tag is not a well-formed BCP-47 tag.";

}  // namespace

IFACEMETHODIMP LanguageFactory::CreateLanguage(HSTRING language_tag,
                                               ABI::Windows::Globalization::ILanguage** value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = nullptr;
  try {
    std::optional<std::wstring> tag = Language::Canonicalize(ScopedHString::View(language_tag));
    if (!tag) {
      return OriginateError(E_INVALIDARG, kMalformedTagMessage);
    }
    *value = MakeObject<Language>(std::move(*tag)).Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

const wchar_t* LanguageFactory::ClassName() const {
  return L"Windows.Globalization.Language";
}

}  // namespace winrt_layer
