#ifndef PLATFORM_WIN32_INCLUDE_WINREG_H_
#define PLATFORM_WIN32_INCLUDE_WINREG_H_

// The registry: an in-memory store per predefined root key, empty at start
// and filled through win32_process_control.h. Key paths and value names
// compare case-insensitively, as window class names do (letters of the
// Latin, Greek and Cyrillic scripts).
//
// String data is stored as WCHAR units, so sizes of REG_SZ data count
// sizeof(WCHAR) bytes per unit (4 off Windows) and match the buffers callers
// declare as WCHAR arrays.

#include "windef.h"

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)((LONG)0x80000005))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define RRF_RT_REG_NONE 0x00000001
#define RRF_RT_REG_SZ 0x00000002
#define RRF_RT_REG_EXPAND_SZ 0x00000004
#define RRF_RT_REG_BINARY 0x00000008
#define RRF_RT_REG_DWORD 0x00000010
#define RRF_RT_REG_MULTI_SZ 0x00000020
#define RRF_RT_REG_QWORD 0x00000040
#define RRF_RT_DWORD (RRF_RT_REG_BINARY | RRF_RT_REG_DWORD)
#define RRF_RT_QWORD (RRF_RT_REG_BINARY | RRF_RT_REG_QWORD)
#define RRF_RT_ANY 0x0000ffff
#define RRF_SUBKEY_WOW6464KEY 0x00010000
#define RRF_SUBKEY_WOW6432KEY 0x00020000
#define RRF_NOEXPAND 0x10000000
#define RRF_ZEROONFAILURE 0x20000000

#ifdef __cplusplus
extern "C" {
#endif

// Reads one value of sub_key under key (null or empty: key itself; a null
// or empty value name: the default value). Returns ERROR_SUCCESS,
// ERROR_FILE_NOT_FOUND (no such key or value), ERROR_UNSUPPORTED_TYPE (the
// value's type is outside the RRF_RT_* restriction), ERROR_MORE_DATA (the
// buffer is too small; *data_size then holds the size needed),
// ERROR_INVALID_PARAMETER or ERROR_INVALID_HANDLE. A null data buffer with
// a size slot asks for the size.
LSTATUS WINAPI RegGetValueW(HKEY key,
                            LPCWSTR sub_key,
                            LPCWSTR value_name,
                            DWORD flags,
                            LPDWORD type,
                            PVOID data,
                            LPDWORD data_size);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_WINREG_H_
