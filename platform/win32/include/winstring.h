#ifndef PLATFORM_WIN32_INCLUDE_WINSTRING_H_
#define PLATFORM_WIN32_INCLUDE_WINSTRING_H_

// HSTRING functions (combase on Windows; the winrt library here).

#include "hstring.h"
#include "windef.h"

#ifdef __cplusplus
extern "C" {
#endif

// A new string holding a copy of `length` units of `source` (null only for
// length 0). Length 0 gives the null string. E_INVALIDARG for a null
// `string`, E_POINTER for a null `source` with a length, E_OUTOFMEMORY.
HRESULT WINAPI WindowsCreateString(LPCWSTR source, UINT32 length, HSTRING* string);
// A string over `source` without a copy; `source` must be null-terminated at
// `length` and outlive the string, which is never deleted.
HRESULT WINAPI WindowsCreateStringReference(PCWSTR source,
                                            UINT32 length,
                                            HSTRING_HEADER* header,
                                            HSTRING* string);
// Null is allowed; a reference string is left alone.
HRESULT WINAPI WindowsDeleteString(HSTRING string);
HRESULT WINAPI WindowsDuplicateString(HSTRING string, HSTRING* new_string);
// The string's units, null-terminated; "" for null. `length` may be null.
PCWSTR WINAPI WindowsGetStringRawBuffer(HSTRING string, UINT32* length);
UINT32 WINAPI WindowsGetStringLen(HSTRING string);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_WINSTRING_H_
