#include <errhandlingapi.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>
#include <win32_process_control.h>
#include <winbase.h>
#include <winerror.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Runs body in a child process and returns its exit code; the child never
// returns into the test.
int InChild(const std::function<int()>& body) {
  pid_t child = fork();
  if (child == 0) {
    _exit(body());
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

class ConsoleTest : public testing::Test {
 protected:
  void SetUp() override {
    Win32ProcessResetToDefaults();
    std::string base = testing::TempDir() + "win32_console_" + std::to_string(getpid());
    stream_path_ = base + "_stream";
    console_path_ = base + "_console";
  }

  void TearDown() override {
    Win32ProcessResetToDefaults();
    std::remove(stream_path_.c_str());
    std::remove(console_path_.c_str());
  }

  std::string stream_path_;
  std::string console_path_;
};

TEST_F(ConsoleTest, ParentConsoleIsAttachedOnce) {
  Win32ProcessSetParentConsole(kWin32PresencePresent);
  EXPECT_TRUE(AttachConsole(ATTACH_PARENT_PROCESS));
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32AttachedConsole);
  SetLastError(0);
  EXPECT_FALSE(AttachConsole(ATTACH_PARENT_PROCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  // Having a console, the process cannot get a new one.
  SetLastError(0);
  EXPECT_FALSE(AllocConsole());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32AttachedConsole);
}

TEST_F(ConsoleTest, WithoutParentConsoleANewOneIsAllocated) {
  Win32ProcessSetParentConsole(kWin32PresenceAbsent);
  SetLastError(0);
  EXPECT_FALSE(AttachConsole(ATTACH_PARENT_PROCESS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32NoConsole);
  EXPECT_TRUE(AllocConsole());
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32AllocatedConsole);
  SetLastError(0);
  EXPECT_FALSE(AllocConsole());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ConsoleTest, AttachingToAMissingProcessIsInvalid) {
  SetLastError(0);
  EXPECT_FALSE(AttachConsole(0x7FFFFFF0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ConsoleTest, ParentWithoutTerminalHasNoConsole) {
  int result = InChild([] {
    // A new session has no controlling terminal; its child is the program.
    setsid();
    return InChild([] {
      if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        return 1;
      }
      if (GetLastError() != ERROR_INVALID_HANDLE) {
        return 2;
      }
      return Win32ProcessGetConsole() == kWin32NoConsole ? 0 : 3;
    });
  });
  EXPECT_EQ(result, 0);
}

TEST_F(ConsoleTest, ParentTerminalReceivesConsoleOutput) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    GTEST_SKIP() << "no pseudo-terminals here";
  }
  const std::string terminal = ptsname(master);
  const std::string kText = "through the console";

  pid_t shell = fork();
  if (shell == 0) {
    // Stands for a shell in a terminal, which starts the program.
    close(master);
    setsid();
    int slave = open(terminal.c_str(), O_RDWR);
    if (slave < 0 || ioctl(slave, TIOCSCTTY, 0) != 0) {
      _exit(10);
    }
    _exit(InChild([&] {
      if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return 11;
      }
      FILE* stream = std::fopen("/dev/null", "w");
      FILE* reopened = nullptr;
      if (stream == nullptr || freopen_s(&reopened, "CONOUT$", "w", stream) != 0 ||
          reopened != stream) {
        return 12;
      }
      std::fputs((kText + "\n").c_str(), stream);
      std::fclose(stream);
      return 0;
    }));
  }
  ASSERT_GT(shell, 0);

  std::string seen;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (seen.find(kText) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd readable = {master, POLLIN, 0};
    if (poll(&readable, 1, 100) <= 0) {
      continue;
    }
    char buffer[256];
    ssize_t length = read(master, buffer, sizeof(buffer));
    if (length <= 0) {
      break;
    }
    seen.append(buffer, static_cast<size_t>(length));
  }
  int status = 0;
  waitpid(shell, &status, 0);
  close(master);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(seen.find(kText), std::string::npos) << seen;
}

TEST_F(ConsoleTest, StandardStreamsReopenedOnTheConsoleReachIt) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    GTEST_SKIP() << "no pseudo-terminals here";
  }
  const std::string terminal = ptsname(master);
  // Held open so that what the child wrote stays readable after it ends.
  int held = open(terminal.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(held, 0);

  // As a Windows GUI program gives itself a console: C streams reopened on
  // "CONOUT$" (descriptors made to follow when that fails), the C++ streams
  // kept in step with them.
  const int status = InChild([&] {
    FILE* unused = nullptr;
    // Without a console the streams stay as they are.
    if (freopen_s(&unused, "CONOUT$", "w", stdout) != EBADF || _dup2(_fileno(stdout), 1) != 0) {
      return 11;
    }
    if (!AllocConsole()) {
      return 12;
    }
    Win32ProcessSetConsoleOutput(terminal.c_str());
    if (freopen_s(&unused, "CONOUT$", "w", stdout) != 0 || unused != stdout ||
        freopen_s(&unused, "CONOUT$", "w", stderr) != 0 || unused != stderr) {
      return 13;
    }
    std::ios::sync_with_stdio(true);
    std::cout << "cout line" << std::endl;
    std::cerr << "cerr line" << std::endl;
    std::printf("printf line\n");
    std::fflush(stdout);
    if (write(_fileno(stdout), "descriptor one\n", 15) != 15 ||
        write(_fileno(stderr), "descriptor two\n", 15) != 15) {
      return 14;
    }
    return 0;
  });
  EXPECT_EQ(status, 0);

  std::string seen;
  pollfd readable = {master, POLLIN, 0};
  while (poll(&readable, 1, 200) > 0) {
    char buffer[256];
    ssize_t length = read(master, buffer, sizeof(buffer));
    if (length <= 0) {
      break;
    }
    seen.append(buffer, static_cast<size_t>(length));
  }
  close(held);
  close(master);
  for (const char* line :
       {"cout line", "cerr line", "printf line", "descriptor one", "descriptor two"}) {
    EXPECT_NE(seen.find(line), std::string::npos) << line << " missing from: " << seen;
  }
}

TEST_F(ConsoleTest, ConsoleOutputGoesToTheNamedFile) {
  ASSERT_TRUE(AllocConsole());
  Win32ProcessSetConsoleOutput(console_path_.c_str());
  FILE* stream = std::fopen(stream_path_.c_str(), "w");
  ASSERT_NE(stream, nullptr);
  FILE* reopened = nullptr;
  ASSERT_EQ(freopen_s(&reopened, "conout$", "w", stream), 0);
  EXPECT_EQ(reopened, stream);
  std::fputs("to the console", stream);
  std::fclose(stream);
  EXPECT_EQ(ReadFile(console_path_), "to the console");
  EXPECT_EQ(ReadFile(stream_path_), "");
}

TEST_F(ConsoleTest, StreamsOnTheConsoleAddToItInTheOrderOfTheirWrites) {
  {
    std::ofstream earlier(console_path_);
    earlier << "earlier\n";
  }
  ASSERT_TRUE(AllocConsole());
  Win32ProcessSetConsoleOutput(console_path_.c_str());
  FILE* out = std::fopen(stream_path_.c_str(), "w");
  FILE* err = std::fopen(stream_path_.c_str(), "w");
  ASSERT_NE(out, nullptr);
  ASSERT_NE(err, nullptr);
  FILE* reopened = nullptr;
  ASSERT_EQ(freopen_s(&reopened, "CONOUT$", "w", out), 0);
  ASSERT_EQ(freopen_s(&reopened, "CONOUT$", "w", err), 0);
  for (FILE* stream : {out, err, out}) {
    std::fputs(stream == out ? "out\n" : "err\n", stream);
    std::fflush(stream);
  }
  std::fclose(out);
  std::fclose(err);
  EXPECT_EQ(ReadFile(console_path_), "earlier\nout\nerr\nout\n");
}

TEST_F(ConsoleTest, FailedConsoleReopenLeavesTheStream) {
  FILE* stream = std::fopen(stream_path_.c_str(), "w");
  ASSERT_NE(stream, nullptr);
  FILE* reopened = stream;
  // No console yet.
  EXPECT_EQ(freopen_s(&reopened, "CONOUT$", "w", stream), EBADF);
  EXPECT_EQ(reopened, nullptr);

  // A console whose output cannot be opened.
  ASSERT_TRUE(AllocConsole());
  Win32ProcessSetConsoleOutput("/nonexistent-directory/console");
  EXPECT_EQ(freopen_s(&reopened, "CONOUT$", "w", stream), ENOENT);
  EXPECT_EQ(reopened, nullptr);

  std::fputs("still here", stream);
  std::fclose(stream);
  EXPECT_EQ(ReadFile(stream_path_), "still here");
}

TEST_F(ConsoleTest, OtherNamesReopenAsFiles) {
  FILE* stream = std::fopen(stream_path_.c_str(), "w");
  ASSERT_NE(stream, nullptr);
  FILE* reopened = nullptr;
  ASSERT_EQ(freopen_s(&reopened, console_path_.c_str(), "w", stream), 0);
  EXPECT_EQ(reopened, stream);
  std::fputs("moved", stream);
  std::fclose(stream);
  EXPECT_EQ(ReadFile(console_path_), "moved");

  EXPECT_EQ(freopen_s(nullptr, console_path_.c_str(), "w", stdout), EINVAL);
}

TEST_F(ConsoleTest, Dup2MakesTheTargetShareTheFile) {
  int source = open(stream_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int target = open(console_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(source, 0);
  ASSERT_GE(target, 0);
  EXPECT_EQ(_dup2(source, target), 0);
  EXPECT_EQ(write(target, "shared", 6), 6);
  close(source);
  close(target);
  EXPECT_EQ(ReadFile(stream_path_), "shared");
  EXPECT_EQ(ReadFile(console_path_), "");

  errno = 0;
  EXPECT_EQ(_dup2(-1, 1), -1);
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(_fileno(stderr), 2);
}

TEST_F(ConsoleTest, DebuggerIsATracer) {
  EXPECT_EQ(InChild([] { return IsDebuggerPresent() ? 1 : 0; }), 0);

  pid_t child = fork();
  if (child == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
      _exit(2);
    }
    raise(SIGSTOP);
    _exit(IsDebuggerPresent() ? 0 : 1);
  }
  ASSERT_GT(child, 0);
  int status = 0;
  while (waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
    int forwarded = WSTOPSIG(status) == SIGSTOP ? 0 : WSTOPSIG(status);
    ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void*>(static_cast<intptr_t>(forwarded)));
  }
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) {
    GTEST_SKIP() << "tracing is not permitted here";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ConsoleTest, ControlOverridesDetectionUntilReset) {
  Win32ProcessSetDebugger(kWin32PresencePresent);
  EXPECT_TRUE(IsDebuggerPresent());
  Win32ProcessSetDebugger(kWin32PresenceAbsent);
  EXPECT_FALSE(IsDebuggerPresent());

  Win32ProcessSetConsole(kWin32AttachedConsole);
  EXPECT_FALSE(AllocConsole());
  Win32ProcessResetToDefaults();
  EXPECT_EQ(Win32ProcessGetConsole(), kWin32NoConsole);
  EXPECT_TRUE(AllocConsole());
}

}  // namespace
