#ifndef TESTS_WIN32_SIDE_H_
#define TESTS_WIN32_SIDE_H_

// Which Win32 a behaviour test runs against: this project's platform layer
// (every build but the Windows one), or a real one, Windows or Wine. Tests
// of what only one side does skip on the other and say why.

#include <windows.h>

#ifdef _WIN32
inline constexpr bool kOnPlatformLayer = false;
#else
inline constexpr bool kOnPlatformLayer = true;
#endif

// Wine, for what it is known to do differently from Windows.
inline bool RunningOnWine() {
  if (kOnPlatformLayer) {
    return false;
  }
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

#endif  // TESTS_WIN32_SIDE_H_
