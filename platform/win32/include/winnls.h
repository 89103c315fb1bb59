#ifndef PLATFORM_WIN32_INCLUDE_WINNLS_H_
#define PLATFORM_WIN32_INCLUDE_WINNLS_H_

// Code-page conversions. Only CP_UTF8 is installed: every other code page
// fails with ERROR_INVALID_PARAMETER, as Windows fails for a code page it does
// not have. Wide strings hold UTF-16 code units; a wchar_t above 0xFFFF is not
// a UTF-16 unit and converts like an unpaired surrogate.

#include "windef.h"

typedef const CHAR* LPCCH;
typedef const WCHAR* LPCWCH;

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_COMPOSITE 0x00000002
#define MB_USEGLYPHCHARS 0x00000004
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_COMPOSITECHECK 0x00000200
#define WC_DISCARDNS 0x00000010
#define WC_SEPCHARS 0x00000020
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define SUBLANG_ENGLISH_US 0x01
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))
#define PRIMARYLANGID(lang) ((WORD)(lang)&0x3ff)
#define SUBLANGID(lang) ((WORD)(lang) >> 10)

#ifdef __cplusplus
extern "C" {
#endif

// Returns the number of UTF-16 units written (or needed, when
// wide_size is 0); 0 on failure with the reason in GetLastError.
// byte_count -1 converts up to and including the terminating zero.
int WINAPI MultiByteToWideChar(UINT code_page,
                               DWORD flags,
                               LPCCH bytes,
                               int byte_count,
                               LPWSTR wide,
                               int wide_size);

// Returns the number of bytes written (or needed, when byte_size is 0); 0 on
// failure. For CP_UTF8 default_char and used_default_char must be null.
int WINAPI WideCharToMultiByte(UINT code_page,
                               DWORD flags,
                               LPCWCH wide,
                               int wide_count,
                               LPSTR bytes,
                               int byte_size,
                               LPCCH default_char,
                               LPBOOL used_default_char);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_WINNLS_H_
