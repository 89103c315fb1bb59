#ifndef PLATFORM_WINRT_RECOGNITION_LANGUAGE_FACTORY_H_
#define PLATFORM_WINRT_RECOGNITION_LANGUAGE_FACTORY_H_

#include <windows.globalization.h>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// The activation factory of Windows.Globalization.Language.
class LanguageFactory final
    : public RuntimeClass<ABI::Windows::Globalization::ILanguageFactory, IAgileObject> {
 public:
  LanguageFactory() = default;

  // E_INVALIDARG, originated, for a tag that is not well-formed.
  IFACEMETHODIMP CreateLanguage(HSTRING language_tag,
                                ABI::Windows::Globalization::ILanguage** value) override;

 private:
  const wchar_t* ClassName() const override;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_LANGUAGE_FACTORY_H_
