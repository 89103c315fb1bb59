// windows.h comes first: the other Windows headers build on it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/win32_side.h"

namespace {

// Wide strings from explicit code units, since a wchar_t literal off Windows
// would hold UTF-32.
std::wstring Units(std::initializer_list<uint32_t> units) {
  std::wstring text;
  for (uint32_t unit : units) {
    text += static_cast<wchar_t>(unit);
  }
  return text;
}

// Converts text (explicit length) with flags; returns the bytes, or the
// error code as "error N".
std::string ToUtf8(const std::wstring& text, DWORD flags) {
  SetLastError(0);
  int size = WideCharToMultiByte(CP_UTF8, flags, text.data(), static_cast<int>(text.size()),
                                 nullptr, 0, nullptr, nullptr);
  if (size == 0) {
    return "error " + std::to_string(GetLastError());
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  int written = WideCharToMultiByte(CP_UTF8, flags, text.data(), static_cast<int>(text.size()),
                                    bytes.data(), size, nullptr, nullptr);
  EXPECT_EQ(written, size);
  return bytes;
}

std::wstring ToWide(const std::string& bytes, DWORD flags, DWORD* error) {
  SetLastError(0);
  int size =
      MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  *error = GetLastError();
  if (size == 0) {
    return std::wstring();
  }
  std::wstring text(static_cast<size_t>(size), L'\0');
  int written = MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()),
                                    text.data(), size);
  EXPECT_EQ(written, size);
  return text;
}

TEST(StringConversionTest, ScalarValuesOfEveryLengthRoundTrip) {
  struct Case {
    std::wstring wide;
    std::string utf8;
  };
  const Case cases[] = {
      {Units({'a'}), "a"},
      {Units({0xE9}), "\xC3\xA9"},
      {Units({0x7FF}), "\xDF\xBF"},
      {Units({0x20AC}), "\xE2\x82\xAC"},
      {Units({0xFFFD}), "\xEF\xBF\xBD"},
      {Units({0xD83D, 0xDE00}), "\xF0\x9F\x98\x80"},
      {Units({0xD800, 0xDC00}), "\xF0\x90\x80\x80"},
      {Units({0xDBFF, 0xDFFF}), "\xF4\x8F\xBF\xBF"},
      {Units({'c', 'a', 'f', 0xE9, ' ', 0xD83C, 0xDF09}), "caf\xC3\xA9 \xF0\x9F\x8C\x89"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(c.wide, WC_ERR_INVALID_CHARS), c.utf8);
    DWORD error;
    EXPECT_EQ(ToWide(c.utf8, MB_ERR_INVALID_CHARS, &error), c.wide) << c.utf8;
  }
}

TEST(StringConversionTest, LengthMinusOneIncludesTheTerminator) {
  const wchar_t wide[] = {L'a', 0xE9, 0};
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr), 4);
  char bytes[4] = {'x', 'x', 'x', 'x'};
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, bytes, 4, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(bytes, 4), std::string("a\xC3\xA9\0", 4));

  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xC3\xA9", -1, nullptr, 0), 3);
  wchar_t back[3] = {L'x', L'x', L'x'};
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xC3\xA9", -1, back, 3), 3);
  EXPECT_EQ(std::wstring(back, 3), std::wstring(wide, 3));

  // With an explicit length a zero is an ordinary character and no
  // terminator is added.
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, 2, nullptr, 0, nullptr, nullptr), 3);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\0b", 3, nullptr, 0), 3);
}

TEST(StringConversionTest, SmallBuffersFailWithInsufficientBuffer) {
  const std::wstring wide = Units({'a', 0xD83D, 0xDE00});
  char bytes[5];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.data(), 3, bytes, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.data(), 3, bytes, 5, nullptr, nullptr), 5);
}

TEST(StringConversionTest, SmallBufferForUtf16FailsWithInsufficientBuffer) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine fills the buffer and returns its size, where Windows fails";
  }
  wchar_t units[3];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x98\x80", 5, units, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x98\x80", 5, units, 3), 3);
}

TEST(StringConversionTest, UnpairedSurrogatesBecomeReplacementOrFail) {
  const std::string kReplacement = "\xEF\xBF\xBD";
  struct Case {
    std::wstring wide;
    std::string lenient;
  };
  std::vector<Case> cases = {
      {Units({0xD83D}), kReplacement},
      {Units({'a', 0xD83D, 'b'}), "a" + kReplacement + "b"},
      {Units({0xDE00, 'b'}), kReplacement + "b"},
      {Units({0xDE00, 0xD83D}), kReplacement + kReplacement},
      {Units({0xD83D, 0xD83D, 0xDE00}), kReplacement + "\xF0\x9F\x98\x80"},
  };
  if (kOnPlatformLayer) {
    // Not a UTF-16 unit at all, which only a 32-bit wchar_t can hold.
    cases.push_back({Units({0x1F600}), kReplacement});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(ToUtf8(c.wide, 0), c.lenient);
    EXPECT_EQ(ToUtf8(c.wide, WC_ERR_INVALID_CHARS),
              "error " + std::to_string(ERROR_NO_UNICODE_TRANSLATION));
  }
}

TEST(StringConversionTest, IllFormedUtf8IsReplacedPerMaximalSubpart) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine replaces overlong forms, encoded surrogates and code points above "
                    "U+10FFFF by fewer characters than Unicode's maximal subparts";
  }
  const uint32_t r = 0xFFFD;
  struct Case {
    std::string utf8;
    std::wstring lenient;
  };
  const Case cases[] = {
      {"\x80", Units({r})},
      {"a\xFF"
       "b",
       Units({'a', r, 'b'})},
      // Overlong forms.
      {"\xC0\xAF", Units({r, r})},
      {"\xE0\x80\xAF", Units({r, r, r})},
      {"\xF0\x80\x80\xAF", Units({r, r, r, r})},
      // A UTF-16 surrogate encoded in UTF-8.
      {"\xED\xA0\x80", Units({r, r, r})},
      // Above U+10FFFF.
      {"\xF4\x90\x80\x80", Units({r, r, r, r})},
      {"\xF5\x80", Units({r, r})},
      // Truncated sequences: the well-formed prefix is one replacement.
      {"\xE2\x82", Units({r})},
      {"\xE2\x82"
       "A",
       Units({r, 'A'})},
      {"\xF0\x9F\x98"
       "x",
       Units({r, 'x'})},
      // The example of the Unicode standard for maximal subparts.
      {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       Units({0x61, r, r, r, 0x62, r, 0x63, r, r, 0x64})},
  };
  for (const Case& c : cases) {
    DWORD error;
    EXPECT_EQ(ToWide(c.utf8, 0, &error), c.lenient) << testing::PrintToString(c.utf8);
    EXPECT_EQ(ToWide(c.utf8, MB_ERR_INVALID_CHARS, &error), std::wstring());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  }
}

TEST(StringConversionTest, FlagsOtherThanTheErrorFlagAreInvalidForUtf8) {
  if (RunningOnWine()) {
    GTEST_SKIP() << "Wine accepts for UTF-8 the flags and default-character slot that "
                    "Windows refuses";
  }
  wchar_t units[4];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", 3, units, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));

  char bytes[4];
  SetLastError(0);
  EXPECT_EQ(
      WideCharToMultiByte(CP_UTF8, WC_NO_BEST_FIT_CHARS, L"abc", 3, bytes, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));

  // UTF-8 has no default character.
  BOOL used_default = FALSE;
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, bytes, 4, nullptr, &used_default), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(StringConversionTest, InvalidArgumentsFailWithInvalidParameter) {
  wchar_t units[4];
  char bytes[4];
  auto expect_invalid = [](int result) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
  };
  expect_invalid(MultiByteToWideChar(CP_UTF8, 0, "abc", 0, units, 4));
  expect_invalid(MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, units, 4));
  expect_invalid(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 4));
  expect_invalid(WideCharToMultiByte(CP_UTF8, 0, L"abc", 0, bytes, 4, nullptr, nullptr));
  expect_invalid(WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, nullptr, 4, nullptr, nullptr));
  if (!RunningOnWine()) {
    // Wine reads any negative input length as "up to the zero", and a
    // negative buffer size as a large one.
    expect_invalid(MultiByteToWideChar(CP_UTF8, 0, "abc", -2, units, 4));
    expect_invalid(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, units, -1));
  }
}

TEST(StringConversionTest, PlatformLayerConvertsUtf8Only) {
  if (!kOnPlatformLayer) {
    GTEST_SKIP() << "Windows has the other code pages; nothing here uses them";
  }
  wchar_t units[4];
  char bytes[4];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, units, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_OEMCP, 0, L"abc", 3, bytes, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
