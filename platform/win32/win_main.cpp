// The process entry of a Windows GUI program, as the Windows runtime
// provides it: the program supplies wWinMain and is started there.

#include <windows.h>

namespace {

// The runtime's rule for the text after the program name: quotes only
// toggle, and anything up to a space is blank.
PWSTR SkipProgramName(PWSTR command_line) {
  bool quoted = false;
  while (*command_line > L' ' || (*command_line != 0 && quoted)) {
    if (*command_line == L'"') {
      quoted = !quoted;
    }
    ++command_line;
  }
  while (*command_line != 0 && *command_line <= L' ') {
    ++command_line;
  }
  return command_line;
}

}  // namespace

int main() {
  return wWinMain(GetModuleHandleW(nullptr), nullptr, SkipProgramName(GetCommandLineW()),
                  SW_SHOWDEFAULT);
}
