// Factory lookup: agile factories are kept for the process, others are
// looked up anew each time, and failures carry the platform's code.

#include "ocr/activation_factory.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <windows.globalization.h>

#include "ocr/com_ptr.h"
#include "ocr/runtime_object.h"
#include "ocr/scripted_activation.h"
#include "tests/win32_side.h"

namespace {

using ABI::Windows::Globalization::ILanguage;
using ABI::Windows::Globalization::ILanguageFactory;

template <typename... Markers>
class FakeLanguageFactory final : public RuntimeObject<ILanguageFactory, Markers...> {
 public:
  HRESULT STDMETHODCALLTYPE CreateLanguage(HSTRING, ILanguage**) override { return E_NOTIMPL; }
};
using AgileFactory = FakeLanguageFactory<IAgileObject>;
using ThreadBoundFactory = FakeLanguageFactory<>;

// Registers `factory` for `class_id` and returns it as the interface the
// pipeline asks for.
ILanguageFactory* Register(const wchar_t* class_id, ILanguageFactory* factory) {
  SetScriptedFactory(class_id, factory);
  return factory;
}

HRESULT LookupCode(const wchar_t* class_id) {
  try {
    GetActivationFactory<ILanguageFactory>(class_id);
    return S_OK;
  } catch (const PlatformError& error) {
    return error.code();
  }
}

TEST(ActivationFactoryTest, AnAgileFactoryIsLookedUpOnceAndKept) {
  constexpr wchar_t kClass[] = L"Norvalis.Tests.AgileClass";
  ILanguageFactory* first = Register(kClass, new AgileFactory());
  EXPECT_EQ(GetActivationFactory<ILanguageFactory>(kClass).Get(), first);

  Register(kClass, new AgileFactory());
  EXPECT_EQ(GetActivationFactory<ILanguageFactory>(kClass).Get(), first);
  SetScriptedFactory(kClass, nullptr);
}

TEST(ActivationFactoryTest, AFactoryThatIsNotAgileIsLookedUpAtEachUse) {
  constexpr wchar_t kClass[] = L"Norvalis.Tests.ThreadBoundClass";
  ILanguageFactory* first = Register(kClass, new ThreadBoundFactory());
  EXPECT_EQ(GetActivationFactory<ILanguageFactory>(kClass).Get(), first);

  ILanguageFactory* second = Register(kClass, new ThreadBoundFactory());
  EXPECT_EQ(GetActivationFactory<ILanguageFactory>(kClass).Get(), second);
  SetScriptedFactory(kClass, nullptr);
}

TEST(ActivationFactoryTest, FailedLookupsRaiseThePlatformsCode) {
  EXPECT_EQ(LookupCode(L"Norvalis.Tests.NoSuchClass"), REGDB_E_CLASSNOTREG);
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine has no Windows.Globalization.Language class";
  }
  // A real class whose factory lacks the interface asked for.
  try {
    GetActivationFactory<ILanguage>(RuntimeClass_Windows_Globalization_Language);
    ADD_FAILURE() << "the language factory is no language";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.code(), E_NOINTERFACE);
  }
}

}  // namespace
