#ifndef PLATFORM_WINRT_INCLUDE_ROERRORAPI_H_
#define PLATFORM_WINRT_INCLUDE_ROERRORAPI_H_

// The restricted error details of the calling thread.

#include <hstring.h>

#include "restrictederrorinfo.h"

extern "C" {

// Takes the calling thread's recorded details, leaving none: S_OK with a
// reference for the caller, or S_FALSE with null when nothing is recorded.
HRESULT WINAPI GetRestrictedErrorInfo(IRestrictedErrorInfo** info);
// Records `info` (null clears) for the calling thread.
HRESULT WINAPI SetRestrictedErrorInfo(IRestrictedErrorInfo* info);
// Records `error` with `message` as the restricted description (null: none)
// for the calling thread; TRUE when recorded. A success code records nothing.
BOOL WINAPI RoOriginateError(HRESULT error, HSTRING message);
}

#endif  // PLATFORM_WINRT_INCLUDE_ROERRORAPI_H_
