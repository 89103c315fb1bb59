#include <gtest/gtest.h>
#include <objidl.h>
#include <roapi.h>
#include <roerrorapi.h>
#include <windows.globalization.h>
#include <windows.graphics.imaging.h>
#include <windows.media.ocr.h>
#include <windows.storage.h>
#include <winrt_activation_control.h>
#include <winstring.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/runtime_class.h"
#include "platform/winrt/runtime/scoped_hstring.h"
#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using ABI::Windows::Globalization::ILanguage;
using ABI::Windows::Globalization::ILanguageFactory;

using testing::GetFactory;

// A language factory that a test puts in place of a class's own: every
// language it creates fails with the code it was given.
class FailingLanguageFactory final : public RuntimeClass<ILanguageFactory> {
 public:
  explicit FailingLanguageFactory(HRESULT failure) : failure_(failure) {}

  IFACEMETHODIMP CreateLanguage(HSTRING, ILanguage** value) override {
    *value = nullptr;
    return failure_;
  }

 private:
  const wchar_t* ClassName() const override { return L"Test.FailingLanguageFactory"; }

  const HRESULT failure_;
};

std::wstring TagOf(ILanguageFactory* factory, const wchar_t* tag, HRESULT* result) {
  ScopedHString input = ScopedHString::Create(tag, result);
  ComPtr<ILanguage> language;
  *result = factory->CreateLanguage(input.Get(), language.ReleaseAndGetAddressOf());
  if (FAILED(*result)) {
    return std::wstring();
  }
  ScopedHString output;
  EXPECT_EQ(language->get_LanguageTag(output.Receive()), S_OK);
  return std::wstring(output.View());
}

TEST(ActivationTest, BuiltInClassesGiveTheirStaticsAndAreAgile) {
  ComPtr<ABI::Windows::Storage::IStorageFileStatics> storage;
  EXPECT_EQ(GetFactory(L"Windows.Storage.StorageFile", &storage), S_OK);
  ComPtr<ABI::Windows::Graphics::Imaging::IBitmapDecoderStatics> decoder;
  EXPECT_EQ(GetFactory(L"Windows.Graphics.Imaging.BitmapDecoder", &decoder), S_OK);
  ComPtr<ABI::Windows::Media::Ocr::IOcrEngineStatics> ocr;
  EXPECT_EQ(GetFactory(L"Windows.Media.Ocr.OcrEngine", &ocr), S_OK);
  ComPtr<ILanguageFactory> language;
  ASSERT_EQ(GetFactory(L"Windows.Globalization.Language", &language), S_OK);

  std::vector<ComPtr<IInspectable>> factories = {storage.As<IInspectable>(),
                                                 decoder.As<IInspectable>(), ocr.As<IInspectable>(),
                                                 language.As<IInspectable>()};
  for (const ComPtr<IInspectable>& factory : factories) {
    ASSERT_TRUE(factory);
    EXPECT_TRUE(factory.As<IAgileObject>());
    EXPECT_TRUE(factory.As<IUnknown>());
  }
}

TEST(ActivationTest, UnknownClassIsNotRegistered) {
  ComPtr<IInspectable> factory;
  EXPECT_EQ(GetFactory(L"Windows.Media.Ocr.NoSuchClass", &factory), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(factory);
  // Class names are case-sensitive.
  EXPECT_EQ(GetFactory(L"windows.globalization.language", &factory), REGDB_E_CLASSNOTREG);
}

TEST(ActivationTest, MissingInterfaceIsNoInterface) {
  ComPtr<ABI::Windows::Media::Ocr::IOcrEngineStatics> wrong;
  EXPECT_EQ(GetFactory(L"Windows.Globalization.Language", &wrong), E_NOINTERFACE);
  EXPECT_FALSE(wrong);
}

TEST(ActivationTest, NullArgumentsAreInvalid) {
  void* factory = reinterpret_cast<void*>(1);
  EXPECT_EQ(RoGetActivationFactory(nullptr, __uuidof(IInspectable), &factory), E_INVALIDARG);
  EXPECT_EQ(factory, nullptr);
  EXPECT_EQ(WinrtSetActivationFactory(nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(WinrtSetActivationFactory(L"", nullptr), E_INVALIDARG);
}

TEST(ActivationTest, LanguageTagsAreCheckedAndCanonical) {
  ComPtr<ILanguageFactory> factory;
  ASSERT_EQ(GetFactory(L"Windows.Globalization.Language", &factory), S_OK);
  HRESULT result;
  EXPECT_EQ(TagOf(factory.Get(), L"en-US", &result), L"en-US");
  EXPECT_EQ(TagOf(factory.Get(), L"fr", &result), L"fr");
  EXPECT_EQ(TagOf(factory.Get(), L"ZH-hant-tw", &result), L"zh-Hant-TW");
  EXPECT_EQ(TagOf(factory.Get(), L"es-419", &result), L"es-419");
  EXPECT_EQ(result, S_OK);
  for (const wchar_t* malformed : {L"", L"e", L"en_US", L"en-", L"-en", L"en--US", L"1234",
                                   L"en-toolongsubtag", L"fr FR", L"caf\u00e9"}) {
    EXPECT_EQ(TagOf(factory.Get(), malformed, &result), L"") << malformed;
    EXPECT_EQ(result, E_INVALIDARG) << malformed;
  }
  // The failure is recorded for the thread.
  ComPtr<IRestrictedErrorInfo> info;
  ASSERT_EQ(GetRestrictedErrorInfo(info.ReleaseAndGetAddressOf()), S_OK);
  BSTR description = nullptr;
  BSTR restricted = nullptr;
  BSTR sid = nullptr;
  HRESULT code = S_OK;
  ASSERT_EQ(info->GetErrorDetails(&description, &code, &restricted, &sid), S_OK);
  EXPECT_EQ(code, E_INVALIDARG);
  EXPECT_EQ(std::wstring(description), L"The parameter is incorrect.\r\n");
  EXPECT_NE(std::wstring(restricted).find(L"BCP-47"), std::wstring::npos);
  SysFreeString(description);
  SysFreeString(restricted);
}

TEST(ActivationTest, ControlHeaderReplacesAndRestoresAClass) {
  auto scripted = MakeObject<FailingLanguageFactory>(E_ACCESSDENIED);
  ASSERT_EQ(WinrtSetActivationFactory(L"Windows.Globalization.Language",
                                      static_cast<IInspectable*>(scripted.Get())),
            S_OK);
  ComPtr<ILanguageFactory> factory;
  ASSERT_EQ(GetFactory(L"Windows.Globalization.Language", &factory), S_OK);
  HRESULT result;
  TagOf(factory.Get(), L"en-US", &result);
  EXPECT_EQ(result, E_ACCESSDENIED);
  // A scripted factory answers only what it implements.
  ComPtr<IAgileObject> agile;
  EXPECT_EQ(GetFactory(L"Windows.Globalization.Language", &agile), E_NOINTERFACE);

  ASSERT_EQ(WinrtSetActivationFactory(L"Windows.Globalization.Language", nullptr), S_OK);
  ASSERT_EQ(GetFactory(L"Windows.Globalization.Language", &factory), S_OK);
  EXPECT_EQ(TagOf(factory.Get(), L"en-US", &result), L"en-US");
}

TEST(ActivationTest, ControlHeaderRegistersAnyClassAndKeepsItAlive) {
  {
    auto scripted = MakeObject<FailingLanguageFactory>(E_FAIL);
    ASSERT_EQ(WinrtSetActivationFactory(L"Test.Scripted.Class",
                                        static_cast<IInspectable*>(scripted.Get())),
              S_OK);
  }
  ComPtr<ILanguageFactory> factory;
  ASSERT_EQ(GetFactory(L"Test.Scripted.Class", &factory), S_OK);
  HRESULT result;
  TagOf(factory.Get(), L"en", &result);
  EXPECT_EQ(result, E_FAIL);
  ASSERT_EQ(WinrtSetActivationFactory(L"Test.Scripted.Class", nullptr), S_OK);
  EXPECT_EQ(GetFactory(L"Test.Scripted.Class", &factory), REGDB_E_CLASSNOTREG);
}

TEST(ActivationTest, ControlHeaderIsSafeAcrossThreads) {
  auto scripted = MakeObject<FailingLanguageFactory>(E_FAIL);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&scripted, t] {
      for (int i = 0; i < 200; ++i) {
        if (t % 2 == 0) {
          WinrtSetActivationFactory(
              L"Test.Shared.Class",
              i % 2 == 0 ? static_cast<IInspectable*>(scripted.Get()) : nullptr);
        } else {
          ComPtr<ILanguageFactory> factory;
          HRESULT result = GetFactory(L"Test.Shared.Class", &factory);
          EXPECT_TRUE(result == S_OK || result == REGDB_E_CLASSNOTREG);
          EXPECT_EQ(result == S_OK, static_cast<bool>(factory));
        }
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  WinrtSetActivationFactory(L"Test.Shared.Class", nullptr);
}

}  // namespace
}  // namespace winrt_layer
