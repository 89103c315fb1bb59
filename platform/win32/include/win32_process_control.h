#ifndef PLATFORM_WIN32_INCLUDE_WIN32_PROCESS_CONTROL_H_
#define PLATFORM_WIN32_INCLUDE_WIN32_PROCESS_CONTROL_H_

// Tests only: sets up the process state that kernel32, advapi32 and the C
// runtime report, and reads it back. Off Windows only.
//
// Defaults, for a manual run:
// - Command line: built from the process's real arguments (/proc/self/cmdline).
// - Registry: empty under every root key.
// - Parent console: detected. The parent has a console when it has a
//   controlling terminal, so a program started from a terminal attaches to
//   it and one started by a desktop launcher or a service does not.
// - The process has no console until AttachConsole or AllocConsole gives it
//   one; "CONOUT$" is then that console's terminal.
// - Debugger: detected, present while TracerPid in /proc/self/status is not 0.

#include "windef.h"

typedef enum Win32Presence {
  kWin32PresenceDetect = 0,
  kWin32PresenceAbsent = 1,
  kWin32PresencePresent = 2,
} Win32Presence;

typedef enum Win32ConsoleState {
  kWin32NoConsole = 0,
  kWin32AttachedConsole = 1,
  kWin32AllocatedConsole = 2,
} Win32ConsoleState;

#ifdef __cplusplus
extern "C" {
#endif

// Replaces the text GetCommandLineW returns; null restores the real one. A
// pointer GetCommandLineW returned earlier is invalid afterwards.
void Win32ProcessSetCommandLine(LPCWSTR command_line);
// Replaces the command line with one built from count UTF-8 arguments, the
// first being the program name, exactly as from the process's own arguments.
void Win32ProcessSetArguments(int count, const char* const* arguments);

// Create or replace one value, creating its key; FALSE for a root that is
// not a predefined key. A null key or name is the root itself or the
// default value.
BOOL Win32ProcessSetRegistryDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD value);
BOOL Win32ProcessSetRegistryString(HKEY root, LPCWSTR key, LPCWSTR name, LPCWSTR value);
// FALSE when there was no such value.
BOOL Win32ProcessDeleteRegistryValue(HKEY root, LPCWSTR key, LPCWSTR name);
void Win32ProcessClearRegistry(void);

// Whether AttachConsole(ATTACH_PARENT_PROCESS) finds a console. Present
// attaches to the process's own controlling terminal.
void Win32ProcessSetParentConsole(Win32Presence presence);
// The console the process has now; setting it does what AttachConsole or
// AllocConsole would (on the process's controlling terminal), or detaches.
Win32ConsoleState Win32ProcessGetConsole(void);
void Win32ProcessSetConsole(Win32ConsoleState state);
// The file that "CONOUT$" opens while the process has a console, in place
// of the console's terminal; null restores the terminal. A path that cannot
// be opened makes freopen_s on "CONOUT$" fail with the errno of the open.
void Win32ProcessSetConsoleOutput(const char* path);

// What IsDebuggerPresent reports.
void Win32ProcessSetDebugger(Win32Presence presence);

// All of the above back to their defaults; the process has no console.
void Win32ProcessResetToDefaults(void);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_WIN32_PROCESS_CONTROL_H_
