#ifndef PLATFORM_WIN32_INCLUDE_OLEAUTO_H_
#define PLATFORM_WIN32_INCLUDE_OLEAUTO_H_

// BSTR: a length-prefixed, null-terminated wide string that its receiver
// frees with SysFreeString.

#include "windef.h"

typedef WCHAR OLECHAR;
typedef OLECHAR* BSTR;

#ifdef __cplusplus
extern "C" {
#endif

// A copy of the null-terminated `text`; null for a null `text` or without
// memory.
BSTR WINAPI SysAllocString(const OLECHAR* text);
// A copy of `length` units of `text` (zeroed when `text` is null).
BSTR WINAPI SysAllocStringLen(const OLECHAR* text, UINT length);
// The length in units, without the terminator; 0 for null.
UINT WINAPI SysStringLen(BSTR text);
// Null is allowed.
void WINAPI SysFreeString(BSTR text);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_OLEAUTO_H_
