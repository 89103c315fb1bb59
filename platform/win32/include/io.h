#ifndef PLATFORM_WIN32_INCLUDE_IO_H_
#define PLATFORM_WIN32_INCLUDE_IO_H_

// The C runtime's low-level I/O and its secure stream reopening.

#include <stdio.h>

typedef int errno_t;

#ifdef __cplusplus
extern "C" {
#endif

// The descriptor under a stream.
int _fileno(FILE* stream);

// Makes target refer to the file of source. 0 on success, -1 with errno set
// on failure (POSIX dup2 returns the descriptor instead).
int _dup2(int source, int target);

// Reopens stream on file_name and stores it in *result: 0 on success, an
// errno value on failure with *result set to null. "CONOUT$" (any letter
// case) is the process console's output: the terminal of the attached or
// allocated console, or the file win32_process_control.h names. Without a
// console it fails with EBADF. Like a console, "CONOUT$" is never truncated
// and every stream writes at its end ("w" opens as "a"), so streams reopened
// on it interleave in the order of their writes. A failed reopen on
// "CONOUT$" leaves the stream as it was; any other name is reopened as a
// file, and a failure closes the stream, as the C runtime does.
errno_t freopen_s(FILE** result, const char* file_name, const char* mode, FILE* stream);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_IO_H_
