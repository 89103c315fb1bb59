#ifndef PLATFORM_WIN32_INCLUDE_SHELLAPI_H_
#define PLATFORM_WIN32_INCLUDE_SHELLAPI_H_

#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

// Splits a command line by the Windows rules: the first argument is the
// program name (quotes delimit it, backslashes are plain); then 2n
// backslashes before a quote give n backslashes and the quote delimits,
// 2n+1 give n backslashes and a literal quote, other backslashes are plain,
// and a doubled quote inside quotes gives a literal quote and ends the quoted
// part. An empty command line gives the executable's path. The result is one
// block, array and strings, freed with LocalFree; null on failure.
LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR command_line, int* argument_count);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_SHELLAPI_H_
