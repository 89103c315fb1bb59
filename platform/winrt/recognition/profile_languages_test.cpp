#include "platform/winrt/recognition/profile_languages.h"

#include <gtest/gtest.h>

#include "platform/winrt/recognition/tesseract_languages.h"
#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

using testing::ScopedEnvironment;
typedef std::vector<std::wstring> Tags;

TEST(ProfileLanguagesTest, LocaleNamesBecomeTags) {
  ScopedEnvironment environment;
  environment.SetProfileLanguage("fr_FR.UTF-8");
  EXPECT_EQ(ProfileLanguages(), Tags{L"fr-FR"});
  environment.SetProfileLanguage("de_DE@euro");
  EXPECT_EQ(ProfileLanguages(), Tags{L"de-DE"});
  environment.SetProfileLanguage("pt_br.utf8");
  EXPECT_EQ(ProfileLanguages(), Tags{L"pt-BR"});
  environment.SetProfileLanguage("en");
  EXPECT_EQ(ProfileLanguages(), Tags{L"en"});
}

TEST(ProfileLanguagesTest, CAndPosixAreNoLanguage) {
  ScopedEnvironment environment;
  for (const char* locale : {"C", "POSIX", "C.UTF-8", "", "not a locale"}) {
    environment.SetProfileLanguage(locale);
    EXPECT_EQ(ProfileLanguages(), Tags()) << locale;
  }
  environment.SetProfileLanguage(nullptr);
  EXPECT_EQ(ProfileLanguages(), Tags());
}

TEST(ProfileLanguagesTest, LanguageListComesFirstInOrder) {
  ScopedEnvironment environment;
  environment.SetProfileLanguage("de_DE.UTF-8");
  environment.Set("LANGUAGE", "fr_CA:C:en_GB.UTF-8::es");
  EXPECT_EQ(ProfileLanguages(), (Tags{L"fr-CA", L"en-GB", L"es"}));
  // Empty, LANGUAGE does not count.
  environment.Set("LANGUAGE", "");
  EXPECT_EQ(ProfileLanguages(), Tags{L"de-DE"});
}

TEST(ProfileLanguagesTest, FirstSetLocaleVariableDecides) {
  ScopedEnvironment environment;
  environment.SetProfileLanguage("de_DE.UTF-8");
  environment.Set("LC_MESSAGES", "it_IT.UTF-8");
  EXPECT_EQ(ProfileLanguages(), Tags{L"it-IT"});
  environment.Set("LC_ALL", "nl_NL.UTF-8");
  EXPECT_EQ(ProfileLanguages(), Tags{L"nl-NL"});
  // A C locale in LC_ALL hides the others, as it does for programs.
  environment.Set("LC_ALL", "C");
  EXPECT_EQ(ProfileLanguages(), Tags());
}

TEST(ProfileLanguagesTest, TagsMapToTesseractData) {
  EXPECT_EQ(TesseractLanguageFor(L"en-US"), "eng");
  EXPECT_EQ(TesseractLanguageFor(L"FR"), "fra");
  EXPECT_EQ(TesseractLanguageFor(L"de-CH"), "deu");
  EXPECT_EQ(TesseractLanguageFor(L"nb-NO"), "nor");
  EXPECT_EQ(TesseractLanguageFor(L"zh-CN"), "chi_sim");
  EXPECT_EQ(TesseractLanguageFor(L"zh-Hant"), "chi_tra");
  EXPECT_EQ(TesseractLanguageFor(L"zh-TW"), "chi_tra");
  EXPECT_EQ(TesseractLanguageFor(L"xx-YY"), std::nullopt);
}

}  // namespace
}  // namespace winrt_layer
