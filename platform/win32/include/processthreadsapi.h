#ifndef PLATFORM_WIN32_INCLUDE_PROCESSTHREADSAPI_H_
#define PLATFORM_WIN32_INCLUDE_PROCESSTHREADSAPI_H_

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

// The kernel's numbers for the calling thread (gettid) and process (getpid).
// Every part of the layer names threads by these ids: GetWindowThreadProcessId
// and PostThreadMessageW take the same numbers.
DWORD WINAPI GetCurrentThreadId(void);
DWORD WINAPI GetCurrentProcessId(void);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_PROCESSTHREADSAPI_H_
