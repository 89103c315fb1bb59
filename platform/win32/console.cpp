#include "platform/win32/console.h"

#include <errhandlingapi.h>
#include <sys/stat.h>
#include <unistd.h>
#include <win32_process_control.h>
#include <winbase.h>
#include <winerror.h>

#include <climits>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>

namespace {

// Every process has a controlling terminal or none; the terminal of the
// process's own session is always reachable as /dev/tty.
constexpr char kOwnTerminal[] = "/dev/tty";

// The device number of a process's controlling terminal (0: none), or no
// value when the process does not exist.
std::optional<dev_t> ControllingTerminal(pid_t process) {
  std::ifstream file("/proc/" + std::to_string(process) + "/stat");
  std::string stat;
  if (!std::getline(file, stat)) {
    return std::nullopt;
  }
  // The command name in parentheses may hold spaces; the fields after it
  // are state, parent, process group, session and the terminal.
  size_t name_end = stat.rfind(')');
  if (name_end == std::string::npos) {
    return std::nullopt;
  }
  std::istringstream fields(stat.substr(name_end + 1));
  std::string state;
  long parent, group, session, terminal;
  if (!(fields >> state >> parent >> group >> session >> terminal)) {
    return std::nullopt;
  }
  return static_cast<dev_t>(terminal);
}

// A path that opens the terminal with that device number: /dev/tty when it
// is the caller's own, else whichever of the process's standard descriptors
// is open on it; empty if none is.
std::string TerminalPath(pid_t process, dev_t terminal) {
  if (ControllingTerminal(getpid()) == terminal) {
    return kOwnTerminal;
  }
  for (int descriptor = 0; descriptor <= 2; ++descriptor) {
    std::string link = "/proc/" + std::to_string(process) + "/fd/" + std::to_string(descriptor);
    struct stat status;
    if (stat(link.c_str(), &status) != 0 || !S_ISCHR(status.st_mode) ||
        status.st_rdev != terminal) {
      continue;
    }
    char target[PATH_MAX];
    ssize_t length = readlink(link.c_str(), target, sizeof(target) - 1);
    if (length > 0) {
      return std::string(target, static_cast<size_t>(length));
    }
  }
  return std::string();
}

class Console {
 public:
  // ERROR_SUCCESS, or the error AttachConsole reports.
  DWORD Attach(DWORD process_id) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != kWin32NoConsole) {
      return ERROR_ACCESS_DENIED;
    }
    bool parent = process_id == ATTACH_PARENT_PROCESS;
    if (parent && parent_console_ == kWin32PresenceAbsent) {
      return ERROR_INVALID_HANDLE;
    }
    if (parent && parent_console_ == kWin32PresencePresent) {
      Become(kWin32AttachedConsole, kOwnTerminal);
      return ERROR_SUCCESS;
    }
    pid_t process = parent ? getppid() : static_cast<pid_t>(process_id);
    std::optional<dev_t> terminal = ControllingTerminal(process);
    if (!terminal.has_value()) {
      return ERROR_INVALID_PARAMETER;
    }
    if (*terminal == 0) {
      return ERROR_INVALID_HANDLE;
    }
    Become(kWin32AttachedConsole, TerminalPath(process, *terminal));
    return ERROR_SUCCESS;
  }

  DWORD Allocate() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ != kWin32NoConsole) {
      return ERROR_ACCESS_DENIED;
    }
    // No terminal window can be opened from here: the new console is the
    // process's own controlling terminal, which a process without one
    // cannot open.
    Become(kWin32AllocatedConsole, kOwnTerminal);
    return ERROR_SUCCESS;
  }

  std::string OutputPath() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (state_ == kWin32NoConsole) {
      return std::string();
    }
    return output_override_.has_value() ? *output_override_ : terminal_path_;
  }

  Win32ConsoleState State() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
  }

  void SetState(Win32ConsoleState state) {
    std::lock_guard<std::mutex> lock(mutex_);
    Become(state, state == kWin32NoConsole ? "" : kOwnTerminal);
  }

  void SetParentConsole(Win32Presence presence) {
    std::lock_guard<std::mutex> lock(mutex_);
    parent_console_ = presence;
  }

  void SetOutputOverride(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    output_override_.reset();
    if (path != nullptr) {
      output_override_ = path;
    }
  }

 private:
  void Become(Win32ConsoleState state, std::string terminal_path) {
    state_ = state;
    terminal_path_ = std::move(terminal_path);
  }

  std::mutex mutex_;
  Win32ConsoleState state_ = kWin32NoConsole;
  // Where the console's output goes; empty if its terminal has no path the
  // process can open.
  std::string terminal_path_;
  Win32Presence parent_console_ = kWin32PresenceDetect;
  std::optional<std::string> output_override_;
};

Console& ProcessConsole() {
  static auto* console = new Console;
  return *console;
}

BOOL Result(DWORD error) {
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

namespace win32 {

std::string ConsoleOutputPath() {
  return ProcessConsole().OutputPath();
}

}  // namespace win32

extern "C" BOOL WINAPI AttachConsole(DWORD process_id) {
  return Result(ProcessConsole().Attach(process_id));
}

extern "C" BOOL WINAPI AllocConsole(void) {
  return Result(ProcessConsole().Allocate());
}

extern "C" void Win32ProcessSetParentConsole(Win32Presence presence) {
  ProcessConsole().SetParentConsole(presence);
}

extern "C" Win32ConsoleState Win32ProcessGetConsole(void) {
  return ProcessConsole().State();
}

extern "C" void Win32ProcessSetConsole(Win32ConsoleState state) {
  ProcessConsole().SetState(state);
}

extern "C" void Win32ProcessSetConsoleOutput(const char* path) {
  ProcessConsole().SetOutputOverride(path);
}
