#include <win32_process_control.h>
#include <winbase.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::atomic<Win32Presence> debugger{kWin32PresenceDetect};

// A debugger on Linux is a tracer; the kernel names it in TracerPid.
bool HasTracer() {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string field = "TracerPid:";
  while (std::getline(status, line)) {
    if (line.compare(0, field.size(), field) == 0) {
      return std::strtol(line.c_str() + field.size(), nullptr, 10) != 0;
    }
  }
  return false;
}

}  // namespace

extern "C" BOOL WINAPI IsDebuggerPresent(void) {
  switch (debugger.load()) {
    case kWin32PresenceAbsent:
      return FALSE;
    case kWin32PresencePresent:
      return TRUE;
    case kWin32PresenceDetect:
      break;
  }
  return HasTracer() ? TRUE : FALSE;
}

extern "C" void Win32ProcessSetDebugger(Win32Presence presence) {
  debugger.store(presence);
}
