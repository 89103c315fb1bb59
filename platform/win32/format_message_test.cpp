#include <errhandlingapi.h>
#include <gtest/gtest.h>
#include <winbase.h>
#include <winerror.h>
#include <winnls.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kSystemFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

// The message, or "error N" when FormatMessageW fails.
std::wstring Message(DWORD code, DWORD flags = kSystemFlags, DWORD language = 0) {
  wchar_t buffer[512];
  SetLastError(0);
  DWORD length = FormatMessageW(flags, nullptr, code, language, buffer, 512, nullptr);
  if (length == 0) {
    return L"error " + std::to_wstring(GetLastError());
  }
  return std::wstring(buffer, length);
}

// Every code winerror.h defines, with its name. Any other definition that
// takes no arguments and is not the include guard fails the test, so that a
// code written in a form this reader does not know is not silently skipped.
std::vector<std::pair<std::string, DWORD>> WinerrorCodes() {
  std::ifstream header(WIN32_INCLUDE_DIR "/winerror.h");
  EXPECT_TRUE(header.is_open());
  const std::regex definition(R"(^#define\s+([A-Za-z_][A-Za-z0-9_]*)(\(?)\s*(.*)$)");
  const std::regex code(R"(^(?:\(\(HRESULT\))?(0x[0-9A-Fa-f]+|\d+)L?\)?\s*(//.*)?$)");
  std::vector<std::pair<std::string, DWORD>> codes;
  std::string line;
  while (std::getline(header, line)) {
    std::smatch match;
    if (!std::regex_match(line, match, definition) || match[2] == "(" || match[3].length() == 0) {
      continue;
    }
    const std::string value = match[3];
    std::smatch number;
    if (!std::regex_match(value, number, code)) {
      ADD_FAILURE() << "not read as a code: " << line;
      continue;
    }
    codes.emplace_back(match[1], static_cast<DWORD>(std::stoul(number[1], nullptr, 0)));
  }
  return codes;
}

TEST(FormatMessageTest, EveryCodeInWinerrorHasItsSystemMessage) {
  std::vector<std::pair<std::string, DWORD>> codes = WinerrorCodes();
  ASSERT_GT(codes.size(), 40u);
  // The HRESULTs are read too, not only the Win32 codes.
  EXPECT_GT(std::count_if(codes.begin(), codes.end(),
                          [](const auto& entry) { return (entry.second & 0x80000000) != 0; }),
            5);
  for (const auto& [name, code] : codes) {
    std::wstring message = Message(code);
    ASSERT_GE(message.size(), 3u) << name;
    EXPECT_NE(message.substr(0, 6), L"error ") << name;
    // One line, ended the way Windows ends system messages.
    EXPECT_EQ(message.substr(message.size() - 2), L"\r\n") << name;
    EXPECT_EQ(message.find_first_of(L"\r\n"), message.size() - 2) << name;
    if (code != 0 && code < 0x10000) {
      EXPECT_EQ(Message(HRESULT_FROM_WIN32(code)), message) << name;
    }
  }
}

TEST(FormatMessageTest, KnownMessagesAreTheWindowsTexts) {
  EXPECT_EQ(Message(ERROR_FILE_NOT_FOUND), L"The system cannot find the file specified.\r\n");
  EXPECT_EQ(Message(ERROR_NO_UNICODE_TRANSLATION),
            L"No mapping for the Unicode character exists in the target multi-byte code "
            L"page.\r\n");
  EXPECT_EQ(Message(RPC_E_CHANGED_MODE), L"Cannot change thread mode after it is set.\r\n");
  EXPECT_EQ(Message(E_FAIL), L"Unspecified error\r\n");
  EXPECT_EQ(Message(E_ACCESSDENIED), L"Access is denied.\r\n");
  EXPECT_EQ(Message(E_OUTOFMEMORY), Message(ERROR_OUTOFMEMORY));
  // Codes the desktop's window functions leave.
  EXPECT_EQ(Message(ERROR_INVALID_WINDOW_HANDLE), L"Invalid window handle.\r\n");
  EXPECT_EQ(Message(ERROR_INVALID_THREAD_ID), L"Invalid thread identifier.\r\n");
  EXPECT_EQ(Message(ERROR_MESSAGE_SYNC_ONLY),
            L"The message can be used only with synchronous operations.\r\n");
  EXPECT_EQ(Message(E_HANDLE), L"The handle is invalid.\r\n");
  // Codes of the Windows Runtime layer; the OCR pipeline reports cancellation
  // with the HRESULT of ERROR_CANCELLED.
  EXPECT_EQ(Message(HRESULT_FROM_WIN32(ERROR_CANCELLED)),
            L"The operation was canceled by the user.\r\n");
  EXPECT_EQ(Message(REGDB_E_CLASSNOTREG), L"Class not registered\r\n");
  EXPECT_EQ(Message(E_ILLEGAL_METHOD_CALL), L"A method was called at an unexpected time.\r\n");
  EXPECT_EQ(Message(WINCODEC_ERR_COMPONENTNOTFOUND), L"The component cannot be found.\r\n");
}

TEST(FormatMessageTest, UnknownCodesAreNotFound) {
  const std::wstring not_found = L"error " + std::to_wstring(ERROR_MR_MID_NOT_FOUND);
  EXPECT_EQ(Message(0x12345), not_found);
  EXPECT_EQ(Message(HRESULT_FROM_WIN32(0xFFFF)), not_found);
  EXPECT_EQ(Message(0x80040000), not_found);
}

TEST(FormatMessageTest, AllocatedBufferIsALocalBlock) {
  LPWSTR text = nullptr;
  DWORD length =
      FormatMessageW(kSystemFlags | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, ERROR_ACCESS_DENIED, 0,
                     reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  ASSERT_EQ(length, 19u);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(text), L"Access is denied.\r\n");
  EXPECT_EQ(LocalFree(text), nullptr);
}

TEST(FormatMessageTest, CallerBufferMustHoldTheTerminator) {
  wchar_t buffer[20];
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(kSystemFlags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 19, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(FormatMessageW(kSystemFlags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 20, nullptr),
            19u);
  EXPECT_EQ(std::wstring(buffer), L"Access is denied.\r\n");
}

TEST(FormatMessageTest, InsertsAreLeftInPlaceOnlyWhenIgnored) {
  EXPECT_EQ(Message(ERROR_MR_MID_NOT_FOUND),
            L"The system cannot find message text for message number 0x%1 in the message file "
            L"for %2.\r\n");
  EXPECT_EQ(Message(ERROR_MR_MID_NOT_FOUND, FORMAT_MESSAGE_FROM_SYSTEM),
            L"error " + std::to_wstring(ERROR_INVALID_PARAMETER));
  // A message without inserts needs no arguments.
  EXPECT_EQ(Message(ERROR_ACCESS_DENIED, FORMAT_MESSAGE_FROM_SYSTEM), L"Access is denied.\r\n");
}

TEST(FormatMessageTest, MessagesExistInEnglishOnly) {
  EXPECT_EQ(
      Message(ERROR_ACCESS_DENIED, kSystemFlags, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
      L"Access is denied.\r\n");
  EXPECT_EQ(Message(ERROR_ACCESS_DENIED, kSystemFlags, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)),
            L"Access is denied.\r\n");
  EXPECT_EQ(Message(ERROR_ACCESS_DENIED, kSystemFlags, 0x040C),
            L"error " + std::to_wstring(ERROR_RESOURCE_LANG_NOT_FOUND));
}

}  // namespace
