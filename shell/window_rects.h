#ifndef SHELL_WINDOW_RECTS_H_
#define SHELL_WINDOW_RECTS_H_

#include <gtest/gtest.h>
#include <windows.h>

// A window's rectangles as any Win32 reports them, for the shell's tests.

inline RECT OuterRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

inline RECT InnerRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

inline void ExpectRect(const RECT& rect, LONG left, LONG top, LONG width, LONG height) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
}

#endif  // SHELL_WINDOW_RECTS_H_
