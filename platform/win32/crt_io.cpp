#include <fcntl.h>
#include <io.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/win32/console.h"

namespace {

// Opens the console's file with the access the mode asks for, to learn
// whether the reopen can succeed before the stream is closed.
int ProbeConsole(const std::string& path, const char* mode) {
  int access = mode[0] == 'r' ? O_RDONLY : O_WRONLY | O_CREAT;
  for (const char* c = mode; *c != 0 && *c != ','; ++c) {
    if (*c == '+') {
      access = (access & ~(O_RDONLY | O_WRONLY)) | O_RDWR;
    }
  }
  int descriptor = open(path.c_str(), access | O_NOCTTY | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return errno;
  }
  close(descriptor);
  return 0;
}

// A console keeps what it shows, and whoever writes to it adds at its end, so
// "CONOUT$" opened for writing truncates nothing and overwrites nothing: "w"
// opens as "a". Standard output and standard error reopened on a file that
// stands for the console then interleave there as on the console.
std::string ConsoleMode(const char* mode) {
  std::string console_mode = mode;
  if (!console_mode.empty() && console_mode[0] == 'w') {
    console_mode[0] = 'a';
  }
  return console_mode;
}

}  // namespace

extern "C" int _fileno(FILE* stream) {
  return fileno(stream);
}

extern "C" int _dup2(int source, int target) {
  return dup2(source, target) < 0 ? -1 : 0;
}

extern "C" errno_t freopen_s(FILE** result, const char* file_name, const char* mode, FILE* stream) {
  if (result == nullptr || file_name == nullptr || mode == nullptr || stream == nullptr) {
    return EINVAL;
  }
  *result = nullptr;
  std::string path = file_name;
  std::string open_mode = mode;
  if (strcasecmp(file_name, "CONOUT$") == 0) {
    path = win32::ConsoleOutputPath();
    if (path.empty()) {
      return EBADF;
    }
    if (int error = ProbeConsole(path, mode)) {
      return error;
    }
    open_mode = ConsoleMode(mode);
  }
  errno = 0;
  FILE* reopened = freopen(path.c_str(), open_mode.c_str(), stream);
  if (reopened == nullptr) {
    return errno != 0 ? errno : EINVAL;
  }
  *result = reopened;
  return 0;
}
