#ifndef PLATFORM_WIN32_INCLUDE_FILEAPI_H_
#define PLATFORM_WIN32_INCLUDE_FILEAPI_H_

// kernel32's file attributes.

#include "windef.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080

#ifdef __cplusplus
extern "C" {
#endif

// FILE_ATTRIBUTE_DIRECTORY for a directory, FILE_ATTRIBUTE_NORMAL for any
// other file: the system keeps no other attribute. Backslashes count as separators; a relative path
// starts at the current directory. INVALID_FILE_ATTRIBUTES on failure: ERROR_FILE_NOT_FOUND when
// the last component is missing, ERROR_PATH_NOT_FOUND when a directory on the
// way is, ERROR_ACCESS_DENIED when one may not be searched.
DWORD WINAPI GetFileAttributesW(LPCWSTR file_name);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_FILEAPI_H_
