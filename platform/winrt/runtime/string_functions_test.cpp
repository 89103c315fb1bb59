#include <gtest/gtest.h>
#include <oleauto.h>
#include <winerror.h>
#include <winstring.h>

#include <string>

namespace {

TEST(HStringTest, CreateCopiesAndKeepsEmbeddedNulls) {
  wchar_t source[] = {L'a', 0, L'\u00e9', 0xD83D, 0xDE00};
  HSTRING string = nullptr;
  ASSERT_EQ(WindowsCreateString(source, 5, &string), S_OK);
  source[0] = L'z';
  UINT32 length = 0;
  PCWSTR buffer = WindowsGetStringRawBuffer(string, &length);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(WindowsGetStringLen(string), 5u);
  EXPECT_EQ(std::wstring(buffer, length), std::wstring(L"a\0\u00e9\xD83D\xDE00", 5));
  EXPECT_EQ(buffer[5], L'\0');
  EXPECT_EQ(WindowsDeleteString(string), S_OK);
}

TEST(HStringTest, EmptyIsNull) {
  HSTRING string = reinterpret_cast<HSTRING>(1);
  EXPECT_EQ(WindowsCreateString(L"abc", 0, &string), S_OK);
  EXPECT_EQ(string, nullptr);
  EXPECT_EQ(WindowsCreateString(nullptr, 0, &string), S_OK);
  EXPECT_EQ(string, nullptr);
  UINT32 length = 7;
  EXPECT_EQ(std::wstring(WindowsGetStringRawBuffer(nullptr, &length)), L"");
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(WindowsGetStringLen(nullptr), 0u);
  EXPECT_EQ(WindowsDeleteString(nullptr), S_OK);
  HSTRING copy = reinterpret_cast<HSTRING>(1);
  EXPECT_EQ(WindowsDuplicateString(nullptr, &copy), S_OK);
  EXPECT_EQ(copy, nullptr);
}

TEST(HStringTest, BadArgumentsFail) {
  HSTRING string = nullptr;
  EXPECT_EQ(WindowsCreateString(L"abc", 3, nullptr), E_INVALIDARG);
  EXPECT_EQ(WindowsCreateString(nullptr, 3, &string), E_POINTER);
  EXPECT_EQ(WindowsDuplicateString(nullptr, nullptr), E_INVALIDARG);
  HSTRING_HEADER header;
  EXPECT_EQ(WindowsCreateStringReference(L"abc", 3, nullptr, &string), E_INVALIDARG);
  // A reference must be null-terminated at its length.
  EXPECT_EQ(WindowsCreateStringReference(L"abcd", 3, &header, &string), E_INVALIDARG);
}

TEST(HStringTest, DuplicatesShareUntilTheLastDelete) {
  HSTRING string = nullptr;
  ASSERT_EQ(WindowsCreateString(L"shared", 6, &string), S_OK);
  HSTRING copy = nullptr;
  ASSERT_EQ(WindowsDuplicateString(string, &copy), S_OK);
  EXPECT_EQ(copy, string);
  EXPECT_EQ(WindowsDeleteString(string), S_OK);
  // The duplicate still holds the text (AddressSanitizer checks the read).
  EXPECT_EQ(std::wstring(WindowsGetStringRawBuffer(copy, nullptr)), L"shared");
  EXPECT_EQ(WindowsDeleteString(copy), S_OK);
}

TEST(HStringTest, ReferenceStringsUseTheCallersMemoryAndDuplicateAsCopies) {
  wchar_t text[] = L"reference";
  HSTRING_HEADER header;
  HSTRING reference = nullptr;
  ASSERT_EQ(WindowsCreateStringReference(text, 9, &header, &reference), S_OK);
  EXPECT_EQ(WindowsGetStringRawBuffer(reference, nullptr), text);
  HSTRING copy = nullptr;
  ASSERT_EQ(WindowsDuplicateString(reference, &copy), S_OK);
  EXPECT_NE(copy, reference);
  text[0] = L'R';
  EXPECT_EQ(std::wstring(WindowsGetStringRawBuffer(reference, nullptr)), L"Reference");
  EXPECT_EQ(std::wstring(WindowsGetStringRawBuffer(copy, nullptr)), L"reference");
  // Deleting a reference string leaves the caller's memory alone.
  EXPECT_EQ(WindowsDeleteString(reference), S_OK);
  EXPECT_EQ(WindowsDeleteString(copy), S_OK);
  EXPECT_EQ(text[0], L'R');
}

TEST(BstrTest, AllocatesLengthPrefixedTerminatedCopies) {
  BSTR text = SysAllocString(L"caf\u00e9");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 4u);
  EXPECT_EQ(std::wstring(text), L"caf\u00e9");
  SysFreeString(text);

  BSTR with_null = SysAllocStringLen(L"a\0b", 3);
  ASSERT_NE(with_null, nullptr);
  EXPECT_EQ(SysStringLen(with_null), 3u);
  EXPECT_EQ(std::wstring(with_null, 3), std::wstring(L"a\0b", 3));
  EXPECT_EQ(with_null[3], L'\0');
  SysFreeString(with_null);

  BSTR zeroed = SysAllocStringLen(nullptr, 2);
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(SysStringLen(zeroed), 2u);
  EXPECT_EQ(zeroed[0], L'\0');
  EXPECT_EQ(zeroed[1], L'\0');
  SysFreeString(zeroed);
}

TEST(BstrTest, NullIsTheEmptyString) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(L"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

}  // namespace
