#include "shell/title_bar_theme.h"

#include <dwmapi.h>

namespace {

constexpr const wchar_t* kPersonalizeKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr const wchar_t* kLightThemeValue = L"AppsUseLightTheme";
// DWMWA_USE_IMMERSIVE_DARK_MODE, which older SDK headers do not name.
constexpr DWORD kImmersiveDarkModeAttribute = 20;

}  // namespace

void ApplyTitleBarTheme(HWND window) {
  DWORD light_theme = 0;
  DWORD size = sizeof(light_theme);
  if (RegGetValueW(HKEY_CURRENT_USER, kPersonalizeKey, kLightThemeValue, RRF_RT_REG_DWORD, nullptr,
                   &light_theme, &size) != ERROR_SUCCESS) {
    return;
  }
  const BOOL dark_mode = light_theme == 0 ? TRUE : FALSE;
  DwmSetWindowAttribute(window, kImmersiveDarkModeAttribute, &dark_mode, sizeof(dark_mode));
}
