#ifndef PLATFORM_WIN32_INCLUDE_ERRHANDLINGAPI_H_
#define PLATFORM_WIN32_INCLUDE_ERRHANDLINGAPI_H_

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

// The calling thread's last-error code, as each failing call leaves it.
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_ERRHANDLINGAPI_H_
