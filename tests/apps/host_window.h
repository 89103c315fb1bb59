#ifndef TESTS_APPS_HOST_WINDOW_H_
#define TESTS_APPS_HOST_WINDOW_H_

#include <windows.h>

// The program's top-level window, found as a second launch finds it; null
// when there is none.
HWND FindHostWindow();

#endif  // TESTS_APPS_HOST_WINDOW_H_
