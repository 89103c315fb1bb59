#include "ocr/utf_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UtfConversionTest, RoundTripsAccentsAndCharactersOutsideTheBasicPlane) {
  const std::string bytes = "caf\xC3\xA9 \xF0\x9F\x93\xB7 \xE2\x82\xAC";
  const std::wstring units = Utf8ToWide(bytes);

  EXPECT_EQ(units, std::wstring(L"caf\u00E9 ") + L'\xD83D' + L'\xDCF7' + L" \u20AC");
  EXPECT_EQ(WideToUtf8(units), bytes);
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(WideToUtf8(L""), "");
}

TEST(UtfConversionTest, IllFormedInputIsReplacedNotRefused) {
  EXPECT_EQ(Utf8ToWide("a\xFF"
                       "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("\xC3"), L"\uFFFD");
  EXPECT_EQ(WideToUtf8(std::wstring(L"a") + L'\xD800' + L"b"),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(UtfConversionTest, EmbeddedNulsAreKept) {
  const std::string bytes("a\0b", 3);
  EXPECT_EQ(Utf8ToWide(bytes), std::wstring(L"a\0b", 3));
  EXPECT_EQ(WideToUtf8(std::wstring(L"a\0b", 3)), bytes);
}

}  // namespace
