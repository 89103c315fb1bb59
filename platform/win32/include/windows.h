#ifndef PLATFORM_WIN32_INCLUDE_WINDOWS_H_
#define PLATFORM_WIN32_INCLUDE_WINDOWS_H_

// Win32 for systems other than Windows: the same names, types and behaviour
// the product relies on, supplied by the platform layer's in-process desktop.

#include "errhandlingapi.h"
#include "fileapi.h"
#include "objbase.h"
#include "winbase.h"
#include "windef.h"
#include "winerror.h"
#include "winnls.h"
#include "winreg.h"
#include "winuser.h"

#endif  // PLATFORM_WIN32_INCLUDE_WINDOWS_H_
