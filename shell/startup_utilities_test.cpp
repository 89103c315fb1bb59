#include "shell/startup_utilities.h"

#include <gtest/gtest.h>
#include <win32_process_control.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "shell/shell_test_fixture.h"

namespace {

std::wstring Units(std::initializer_list<wchar_t> units) {
  return std::wstring(units);
}

TEST(Utf16ToUtf8Test, ConvertsWellFormedTextByteForByte) {
  EXPECT_EQ(Utf16ToUtf8(nullptr), "");
  EXPECT_EQ(Utf16ToUtf8(L""), "");
  EXPECT_EQ(Utf16ToUtf8(L"plain"), "plain");
  EXPECT_EQ(Utf16ToUtf8(Units({L'c', L'a', L'f', 0x00E9}).c_str()), "caf\xC3\xA9");
  EXPECT_EQ(Utf16ToUtf8(Units({0x20AC}).c_str()), "\xE2\x82\xAC");
  // U+1F600 as a surrogate pair.
  EXPECT_EQ(Utf16ToUtf8(Units({L'<', 0xD83D, 0xDE00, L'>'}).c_str()), "<\xF0\x9F\x98\x80>");
}

TEST(Utf16ToUtf8Test, RefusesUnpairedSurrogates) {
  EXPECT_EQ(Utf16ToUtf8(Units({L'a', 0xD800, L'b'}).c_str()), "");
  EXPECT_EQ(Utf16ToUtf8(Units({0xDC00}).c_str()), "");
  EXPECT_EQ(Utf16ToUtf8(Units({L'a', 0xD83D}).c_str()), "");
  // The pair in the wrong order is two unpaired surrogates.
  EXPECT_EQ(Utf16ToUtf8(Units({0xDE00, 0xD83D}).c_str()), "");
}

class CollectLaunchArgumentsTest : public ShellTest {};

TEST_F(CollectLaunchArgumentsTest, SkipsTheProgramPathAndKeepsEveryArgumentInOrder) {
  Win32ProcessSetCommandLine(L"\"C:\\Program Files\\photos_norvalis.exe\" a \"b c\" \"\" d\\\"e");
  EXPECT_EQ(CollectLaunchArguments(), (std::vector<std::string>{"a", "b c", "", "d\"e"}));

  Win32ProcessSetCommandLine(L"photos_norvalis.exe");
  EXPECT_TRUE(CollectLaunchArguments().empty());
}

TEST_F(CollectLaunchArgumentsTest, ArgumentsArriveAsTheirUtf8Encoding) {
  const char* const arguments[] = {"photos_norvalis", "caf\xC3\xA9 cr\xC3\xA8me",
                                   "\xF0\x9F\x98\x80", "\"quoted\""};
  Win32ProcessSetArguments(4, arguments);
  EXPECT_EQ(CollectLaunchArguments(), (std::vector<std::string>{"caf\xC3\xA9 cr\xC3\xA8me",
                                                                "\xF0\x9F\x98\x80", "\"quoted\""}));
}

TEST_F(CollectLaunchArgumentsTest, AnIllFormedArgumentIsEmptyAndDoesNotShiftTheOthers) {
  const std::wstring command_line = std::wstring(L"prog first ") + Units({L'x', 0xD800}) + L" last";
  Win32ProcessSetCommandLine(command_line.c_str());
  EXPECT_EQ(CollectLaunchArguments(), (std::vector<std::string>{"first", "", "last"}));
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class OpenDebugConsoleTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    console_path_ = testing::TempDir() + "open_debug_console_" +
                    testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::remove(console_path_.c_str());
  }
  void TearDown() override {
    std::remove(console_path_.c_str());
    ShellTest::TearDown();
  }

  std::string console_path_;
};

// Each case changes the process's standard streams, so it runs in a child.
TEST_F(OpenDebugConsoleTest, PointsBothStandardStreamsAtTheNewConsole) {
  EXPECT_EXIT(
      {
        Win32ProcessSetConsoleOutput(console_path_.c_str());
        // Written while there is no console: leaves the C++ stream failed
        // unless the engine library's streams are resynchronised.
        std::cerr.setstate(std::ios::badbit);
        OpenDebugConsole();
        std::printf("to stdout\n");
        std::cout << "to cout" << std::endl;
        std::cerr << "to cerr" << std::endl;
        std::fflush(nullptr);
        std::_Exit(Win32ProcessGetConsole() == kWin32AllocatedConsole ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(console_path_), "to stdout\nto cout\nto cerr\n");
}

TEST_F(OpenDebugConsoleTest, LeavesTheStreamsAloneWhenTheProcessAlreadyHasAConsole) {
  EXPECT_EXIT(
      {
        Win32ProcessSetConsoleOutput(console_path_.c_str());
        Win32ProcessSetConsole(kWin32AttachedConsole);
        OpenDebugConsole();
        std::printf("to stdout\n");
        std::fflush(nullptr);
        std::_Exit(Win32ProcessGetConsole() == kWin32AttachedConsole ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(console_path_), "");
}

}  // namespace
