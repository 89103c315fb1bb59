#include <win32_process_control.h>

extern "C" void Win32ProcessResetToDefaults(void) {
  Win32ProcessSetCommandLine(nullptr);
  Win32ProcessClearRegistry();
  Win32ProcessSetParentConsole(kWin32PresenceDetect);
  Win32ProcessSetConsole(kWin32NoConsole);
  Win32ProcessSetConsoleOutput(nullptr);
  Win32ProcessSetDebugger(kWin32PresenceDetect);
}
