#include <errhandlingapi.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <win32_process_control.h>
#include <winbase.h>
#include <winerror.h>
#include <winnls.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::wstring Wide(const std::string& utf8) {
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), size);
  text.resize(text.size() - 1);
  return text;
}

std::vector<std::wstring> Split(const wchar_t* command_line) {
  int count = -1;
  LPWSTR* arguments = CommandLineToArgvW(command_line, &count);
  EXPECT_NE(arguments, nullptr);
  if (arguments == nullptr) {
    return {};
  }
  std::vector<std::wstring> result(arguments, arguments + count);
  EXPECT_EQ(LocalFree(arguments), nullptr);
  return result;
}

class CommandLineTest : public testing::Test {
 protected:
  void TearDown() override { Win32ProcessResetToDefaults(); }
};

TEST_F(CommandLineTest, BackslashesAndQuotesFollowTheWindowsRules) {
  struct Case {
    const wchar_t* command_line;
    std::vector<std::wstring> arguments;
  };
  const Case cases[] = {
      {L"p \"a b c\" d e", {L"p", L"a b c", L"d", L"e"}},
      {L"p \"ab\\\"c\" \"\\\\\" d", {L"p", L"ab\"c", L"\\", L"d"}},
      {L"p a\\\\\\b d\"e f\"g h", {L"p", L"a\\\\\\b", L"de fg", L"h"}},
      {L"p a\\\\\\\"b c d", {L"p", L"a\\\"b", L"c", L"d"}},
      {L"p a\\\\\\\\\"b c\" d e", {L"p", L"a\\\\b c", L"d", L"e"}},
      // A doubled quote inside quotes is a literal quote and ends the quoted
      // part.
      {L"p \"a\"\"b\"", {L"p", L"a\"b"}},
      {L"p a\"b\"\" c d", {L"p", L"ab\"", L"c", L"d"}},
      {L"p \"\"\"a\"", {L"p", L"\"a"}},
      // Empty quoted arguments count; blanks at the end do not.
      {L"p \"\" x", {L"p", L"", L"x"}},
      {L"p a \"\"", {L"p", L"a", L""}},
      {L"p a\t\tb  ", {L"p", L"a", L"b"}},
      {L"p", {L"p"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Split(c.command_line), c.arguments) << testing::PrintToString(c.command_line);
  }
}

TEST_F(CommandLineTest, ProgramNameTakesNoEscapes) {
  EXPECT_EQ(Split(L"\"C:\\Program Files\\app.exe\" x"),
            (std::vector<std::wstring>{L"C:\\Program Files\\app.exe", L"x"}));
  // Backslashes before the closing quote stay, and the quote still closes.
  EXPECT_EQ(Split(L"\"C:\\dir\\\\\" x"), (std::vector<std::wstring>{L"C:\\dir\\\\", L"x"}));
  // Unquoted, the name runs to the first blank, quotes and all.
  EXPECT_EQ(Split(L"C:\\a\"b c\" d"), (std::vector<std::wstring>{L"C:\\a\"b", L"c d"}));
  EXPECT_EQ(Split(L"\"\" x"), (std::vector<std::wstring>{L"", L"x"}));
}

TEST_F(CommandLineTest, EmptyCommandLineGivesTheExecutable) {
  std::vector<char> path(4096);
  ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  ASSERT_GT(length, 0);
  EXPECT_EQ(
      Split(L""),
      (std::vector<std::wstring>{Wide(std::string(path.data(), static_cast<size_t>(length)))}));
}

TEST_F(CommandLineTest, MissingCountSlotFails) {
  SetLastError(0);
  EXPECT_EQ(CommandLineToArgvW(L"p a", nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(CommandLineTest, ResultIsOneLocalBlock) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(L"p a b", &count);
  ASSERT_NE(arguments, nullptr);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(LocalFree(arguments), nullptr);
  // The strings were inside the block: none of them is a block of its own.
  SetLastError(0);
  EXPECT_EQ(LocalFree(arguments), arguments);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

void ExpectRoundTrip(const std::vector<std::string>& arguments) {
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) {
    pointers.push_back(argument.c_str());
  }
  Win32ProcessSetArguments(static_cast<int>(pointers.size()), pointers.data());
  const wchar_t* command_line = GetCommandLineW();
  std::vector<std::wstring> expected;
  for (const std::string& argument : arguments) {
    expected.push_back(Wide(argument));
  }
  EXPECT_EQ(Split(command_line), expected) << testing::PrintToString(command_line);
}

TEST_F(CommandLineTest, QuotedArgumentsRoundTrip) {
  ExpectRoundTrip({"/opt/my app/photos_norvalis", "plain", "with space", "tab\there", "new\nline",
                   "quote\"inside", "\"", "\"\"", "trailing\\", "trailing\\\\",
                   "\\\\server\\share\\", "back\\\"quote", "a\\\\\"b c", "", "caf\xC3\xA9",
                   "\xF0\x9F\x98\x80 \xF0\x9F\x8C\x89", ""});
}

TEST_F(CommandLineTest, RandomArgumentsRoundTrip) {
  const std::vector<std::string> pieces = {
      "a", " ", "\t", "\"", "\\", "\xC3\xA9", "\xF0\x9F\x98\x80"};
  std::mt19937 random(20240607);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> arguments = {"prog"};
    int count = static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i) {
      std::string argument;
      int length = static_cast<int>(random() % 9);
      for (int j = 0; j < length; ++j) {
        argument += pieces[random() % pieces.size()];
      }
      arguments.push_back(argument);
    }
    ExpectRoundTrip(arguments);
  }
}

TEST_F(CommandLineTest, ProgramNameIsQuotedOnlyAsAWhole) {
  ExpectRoundTrip({"", "x"});
  ExpectRoundTrip({"C:\\dir with space\\", "x"});
  // No Windows file name holds a quote; the name keeps everything else.
  const char* arguments[] = {"a\"b", "x"};
  Win32ProcessSetArguments(2, arguments);
  EXPECT_EQ(Split(GetCommandLineW()), (std::vector<std::wstring>{L"ab", L"x"}));
}

TEST_F(CommandLineTest, OverrideReplacesTheProcessCommandLine) {
  Win32ProcessSetCommandLine(L"prog \"a b\" c");
  EXPECT_EQ(std::wstring(GetCommandLineW()), L"prog \"a b\" c");

  Win32ProcessSetCommandLine(nullptr);
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> expected;
  for (size_t start = 0; start < content.size();) {
    size_t end = content.find('\0', start);
    expected.push_back(Wide(content.substr(start, end - start)));
    start = end + 1;
  }
  EXPECT_EQ(Split(GetCommandLineW()), expected);
}

// Runs the probe program with these arguments and returns its records.
std::vector<std::string> RunProbe(const std::vector<std::string>& arguments) {
  int pipe_ends[2];
  EXPECT_EQ(pipe(pipe_ends), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  pid_t child;
  int spawned =
      posix_spawn(&child, WIN32_COMMAND_LINE_PROBE, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  EXPECT_EQ(spawned, 0);
  std::string output;
  char buffer[4096];
  ssize_t length;
  while ((length = read(pipe_ends[0], buffer, sizeof(buffer))) > 0) {
    output.append(buffer, static_cast<size_t>(length));
  }
  close(pipe_ends[0]);
  int status = 0;
  if (spawned == 0) {
    waitpid(child, &status, 0);
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::vector<std::string> records;
  for (size_t start = 0; start < output.size();) {
    size_t end = output.find('\0', start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "unterminated record";
      break;
    }
    records.push_back(output.substr(start, end - start));
    start = end + 1;
  }
  return records;
}

TEST_F(CommandLineTest, RealArgumentsReachTheProgramUnchanged) {
  const std::vector<std::string> arguments = {
      WIN32_COMMAND_LINE_PROBE, "a", "b c", "", "quote\"d", "tail\\", "\\\\\"", "caf\xC3\xA9",
      "\xF0\x9F\x98\x80"};
  std::vector<std::string> records = RunProbe(arguments);
  ASSERT_EQ(records.size(), arguments.size() + 2);
  EXPECT_EQ(records[0], "10");  // SW_SHOWDEFAULT
  for (size_t i = 0; i < arguments.size(); ++i) {
    EXPECT_EQ(records[i + 2], arguments[i]);
  }
  // The text wWinMain receives is the command line after the program name.
  std::vector<std::wstring> tail = Split((L"x " + Wide(records[1])).c_str());
  ASSERT_EQ(tail.size(), arguments.size());
  for (size_t i = 1; i < arguments.size(); ++i) {
    EXPECT_EQ(tail[i], Wide(arguments[i]));
  }
}

TEST_F(CommandLineTest, IllFormedArgumentBytesArriveAsReplacement) {
  std::vector<std::string> records = RunProbe({WIN32_COMMAND_LINE_PROBE, "a\xFF"});
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[3], "a\xEF\xBF\xBD");
}

}  // namespace
