#ifndef PLATFORM_WIN32_INCLUDE_WINBASE_H_
#define PLATFORM_WIN32_INCLUDE_WINBASE_H_

// kernel32: local memory, events, mutexes and handles, system messages, modules, the
// console, the debugger and the command line.

#include <stdarg.h>

#include "processthreadsapi.h"
#include "windef.h"

typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

#define ATTACH_PARENT_PROCESS ((DWORD)-1)

#ifdef __cplusplus
extern "C" {
#endif

// Fixed blocks only: LMEM_MOVEABLE fails with ERROR_NOT_SUPPORTED. LocalFree
// returns null on success and the block itself, with ERROR_INVALID_HANDLE,
// for a pointer that LocalAlloc did not return.
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL WINAPI LocalFree(HLOCAL memory);

// Events and mutexes. A name makes the object shared within the process:
// creating an existing name opens it (GetLastError is then
// ERROR_ALREADY_EXISTS, and the creation arguments are ignored); a name that
// an object of the other kind holds fails with ERROR_INVALID_HANDLE. As in
// a user's session, "Local\\name" and "name" are the same object. Each
// handle is closed once with CloseHandle; waits, sets and releases may come
// from any thread.
HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES attributes,
                           BOOL manual_reset,
                           BOOL initially_set,
                           LPCWSTR name);
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);
// A mutex belongs to the thread whose wait took it, which may take it again
// and must release it as many times. A thread that ends while owning it
// abandons it: the next wait takes it and returns WAIT_ABANDONED.
// ReleaseMutex by any other thread fails with ERROR_NOT_OWNER.
HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initial_owner, LPCWSTR name);
BOOL WINAPI ReleaseMutex(HANDLE mutex);
// WAIT_OBJECT_0 once the event is set (an auto-reset event is reset by the
// wait that takes it) or the mutex is taken, WAIT_ABANDONED for a mutex
// taken after its owner ended, WAIT_TIMEOUT after milliseconds (INFINITE:
// never), WAIT_FAILED for an invalid handle.
DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL WINAPI CloseHandle(HANDLE handle);

// Only FORMAT_MESSAGE_FROM_SYSTEM is a source (FROM_HMODULE beside it adds
// nothing: no module carries a message table here), in English. Messages
// with inserts need FORMAT_MESSAGE_IGNORE_INSERTS; line widths other than 0
// are not supported. Both fail with ERROR_INVALID_PARAMETER. Unknown codes
// fail with ERROR_MR_MID_NOT_FOUND.
DWORD WINAPI FormatMessageW(DWORD flags,
                            LPCVOID source,
                            DWORD message_id,
                            DWORD language_id,
                            LPWSTR buffer,
                            DWORD size,
                            va_list* arguments);

// Modules. "user32.dll", "kernel32.dll", "advapi32.dll", "ole32.dll",
// "shell32.dll", "dwmapi.dll" and "shcore.dll" (any letter case, ".dll"
// optional) are this layer itself; GetProcAddress finds any of its
// functions through each of them. Another "name.dll" is the shared library
// "libname.so": beside the executable first (also tried in lower case), then
// by the system's library search. A name with a directory is that file,
// relative to the current directory when the path is; its ".dll" final
// component is mapped the same way. Backslashes count as separators.
// GetProcAddress takes names only, not ordinals, and finds only the
// module's own functions. FreeLibrary gives back one LoadLibrary reference;
// any other handle fails with ERROR_INVALID_HANDLE.
HMODULE WINAPI LoadLibraryA(LPCSTR file_name);
HMODULE WINAPI LoadLibraryW(LPCWSTR file_name);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procedure_name);
BOOL WINAPI FreeLibrary(HMODULE module);
// Null: the executable. A name: the module if it is loaded, without taking a
// reference.
HMODULE WINAPI GetModuleHandleW(LPCWSTR module_name);
// The full path of the module's file (null: the executable), as Windows
// gives it: the length without the terminator; when `size` is too small, the
// path cut to `size - 1` units and terminated, `size`, and
// ERROR_INSUFFICIENT_BUFFER. A handle that is no loaded module fails with
// ERROR_MOD_NOT_FOUND.
DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR file_name, DWORD size);

// The console of a process is its controlling terminal. Attaching takes the
// terminal of the parent (or of process_id); allocating gives the process a
// console on its own controlling terminal. Both fail with
// ERROR_ACCESS_DENIED when the process already has a console; attaching to a
// process without a terminal fails with ERROR_INVALID_HANDLE, to one that
// does not exist with ERROR_INVALID_PARAMETER.
BOOL WINAPI AttachConsole(DWORD process_id);
BOOL WINAPI AllocConsole(void);

// Nonzero while a tracer (a debugger) is attached to the process.
BOOL WINAPI IsDebuggerPresent(void);

// The process's command line: its arguments (UTF-8, ill-formed bytes
// replaced by U+FFFD) quoted so that CommandLineToArgvW gives every one back.
// The program name is quoted when it holds a space or a tab, or is empty; a
// quote inside it, which no Windows file name holds, is dropped. The text
// lives as long as the process.
LPWSTR WINAPI GetCommandLineW(void);

// The program's entry point, which the layer's main (the win32_main library)
// calls.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous_instance, PWSTR command_line, int show);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_WINBASE_H_
