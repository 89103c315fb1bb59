#ifndef SHELL_TITLE_BAR_THEME_H_
#define SHELL_TITLE_BAR_THEME_H_

#include <windows.h>

// Gives `window` a dark title bar when the user's applications use the dark
// theme, a light one otherwise; leaves it alone when the setting cannot be
// read.
void ApplyTitleBarTheme(HWND window);

#endif  // SHELL_TITLE_BAR_THEME_H_
