#include <gtest/gtest.h>
#include <win32_process_control.h>
#include <winerror.h>
#include <winreg.h>

#include <cstdint>
#include <string>

namespace {

constexpr wchar_t kPersonalize[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr wchar_t kLightTheme[] = L"AppsUseLightTheme";

class RegistryTest : public testing::Test {
 protected:
  void TearDown() override { Win32ProcessResetToDefaults(); }
};

LSTATUS ReadDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD* value) {
  DWORD size = sizeof(DWORD);
  return RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, value, &size);
}

TEST_F(RegistryTest, PredefinedKeysHaveTheirWindowsValues) {
  EXPECT_EQ(reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER), UINTMAX_C(0xFFFFFFFF80000001));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(HKEY_LOCAL_MACHINE), UINTMAX_C(0xFFFFFFFF80000002));
}

TEST_F(RegistryTest, DwordValueReadsBackWithItsTypeAndSize) {
  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 0));
  DWORD value = 7;
  DWORD type = REG_NONE;
  DWORD size = sizeof(value);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, RRF_RT_REG_DWORD, &type,
                         &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, sizeof(DWORD));

  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 1));
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, &value), ERROR_SUCCESS);
  EXPECT_EQ(value, 1u);
}

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreLetterCase) {
  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 5));
  DWORD value = 0;
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER,
                      L"SOFTWARE\\microsoft\\WINDOWS\\currentversion\\THEMES\\personalize",
                      L"appsuselighttheme", &value),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 5u);

  // Beyond ASCII too: "Clé\Ключ" and "CLÉ\ключ".
  const std::wstring key = {L'C', L'l', 0xE9, L'\\', 0x41A, 0x43B, 0x44E, 0x447};
  const std::wstring other_case = {L'C', L'L', 0xC9, L'\\', 0x43A, 0x43B, 0x44E, 0x447};
  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, key.c_str(), L"v", 6));
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, other_case.c_str(), L"V", &value), ERROR_SUCCESS);
  EXPECT_EQ(value, 6u);
}

TEST_F(RegistryTest, AbsentKeysAndValuesAreNotFound) {
  DWORD value = 0;
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, &value), ERROR_FILE_NOT_FOUND);
  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 0));
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kPersonalize, L"Other", &value), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, L"Software\\Microsoft", kLightTheme, &value),
            ERROR_FILE_NOT_FOUND);
  // Each root key is a store of its own.
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kPersonalize, kLightTheme, &value), ERROR_FILE_NOT_FOUND);

  EXPECT_TRUE(Win32ProcessDeleteRegistryValue(HKEY_CURRENT_USER, kPersonalize, kLightTheme));
  EXPECT_FALSE(Win32ProcessDeleteRegistryValue(HKEY_CURRENT_USER, kPersonalize, kLightTheme));
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, &value), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, TypeRestrictionRefusesOtherTypes) {
  ASSERT_TRUE(Win32ProcessSetRegistryString(HKEY_CURRENT_USER, kPersonalize, kLightTheme, L"0"));
  DWORD value = 7;
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, &value),
            ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(value, 7u);

  wchar_t text[8] = {};
  DWORD size = sizeof(text);
  DWORD type = REG_NONE;
  EXPECT_EQ(
      RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, RRF_RT_ANY, &type, text, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(text), L"0");
  EXPECT_EQ(size, 2 * sizeof(wchar_t));

  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 0));
  size = sizeof(text);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, RRF_RT_REG_SZ, nullptr, text,
                         &size),
            ERROR_UNSUPPORTED_TYPE);
}

TEST_F(RegistryTest, SizesAreReportedForQueriesAndSmallBuffers) {
  ASSERT_TRUE(
      Win32ProcessSetRegistryString(HKEY_CURRENT_USER, L"Software\\App", L"Name", L"photos"));
  const DWORD needed = 7 * sizeof(wchar_t);

  DWORD size = 0;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\App", L"Name", RRF_RT_REG_SZ, nullptr,
                         nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, needed);

  wchar_t small[3] = {L'x', L'x', L'x'};
  size = sizeof(small);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\App", L"Name", RRF_RT_REG_SZ, nullptr,
                         small, &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, needed);

  // Zeroing on failure covers the buffer the caller passed.
  size = sizeof(small);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\App", L"Name",
                         RRF_RT_REG_SZ | RRF_ZEROONFAILURE, nullptr, small, &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(small[0], 0);
  EXPECT_EQ(small[2], 0);

  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 1));
  uint16_t half = 0;
  size = sizeof(half);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, RRF_RT_REG_DWORD, nullptr,
                         &half, &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, sizeof(DWORD));
}

TEST_F(RegistryTest, DefaultValueAndTheRootItself) {
  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, nullptr, nullptr, 9));
  DWORD value = 0;
  EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, L"", L"", &value), ERROR_SUCCESS);
  EXPECT_EQ(value, 9u);
}

TEST_F(RegistryTest, InvalidCallsAreRefused) {
  ASSERT_TRUE(Win32ProcessSetRegistryDword(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 0));
  DWORD value = 0;
  DWORD size = sizeof(value);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, 0, nullptr, &value, &size),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, RRF_RT_REG_DWORD, nullptr,
                         &value, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegGetValueW(reinterpret_cast<HKEY>(uintptr_t{0x1234}), kPersonalize, kLightTheme,
                         RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_INVALID_HANDLE);
  EXPECT_FALSE(Win32ProcessSetRegistryDword(reinterpret_cast<HKEY>(uintptr_t{0x1234}), kPersonalize,
                                            kLightTheme, 0));
}

}  // namespace
