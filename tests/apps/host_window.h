#ifndef TESTS_APPS_HOST_WINDOW_H_
#define TESTS_APPS_HOST_WINDOW_H_

#include <windows.h>

#include <string_view>

// The program's top-level window, found as a second launch finds it; null
// when there is none.
HWND FindHostWindow();

// Prints `when` followed by the host window's state: kHidden, kVisible or
// kNoWindow (test_app_lines.h).
void PrintWindowState(std::string_view when);

#endif  // TESTS_APPS_HOST_WINDOW_H_
