#include "shell/win32_window.h"

#include <cmath>
#include <limits>

#include "engine_bridge/engine_api.h"
#include "engine_bridge/stopped_exception.h"
#include "shell/title_bar_theme.h"

namespace {

constexpr int kAppIconResource = 101;
constexpr double kLogicalDpi = 96.0;

// Win32Window objects in existence; main thread only.
int32_t live_window_count = 0;

struct WindowClassState {
  bool class_registered = false;
};

WindowClassState& GetWindowClassState() {
  static WindowClassState state;
  return state;
}

using EnableNonClientDpiScalingFunction = BOOL(WINAPI*)(HWND);

// Lets the caption and frame follow the DPI on systems that support it.
void EnableFrameDpiScaling(HWND window) {
  HMODULE user32 = LoadLibraryA("User32.dll");
  if (user32 == nullptr) {
    return;
  }
  // Through void(*)(): the one cast between function types compilers accept
  // without a warning.
  const auto enable_non_client_dpi_scaling = reinterpret_cast<EnableNonClientDpiScalingFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "EnableNonClientDpiScaling")));
  if (enable_non_client_dpi_scaling != nullptr) {
    enable_non_client_dpi_scaling(window);
  }
  FreeLibrary(user32);
}

// Truncates toward zero (17.5 becomes 17); values beyond 32 bits saturate
// rather than overflow.
int32_t Scale(int32_t value, double scale_factor) {
  const double scaled = std::trunc(static_cast<double>(value) * scale_factor);
  if (scaled >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (scaled <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(scaled);
}

void UnregisterWindowClassIfUnused() {
  if (live_window_count != 0) {
    return;
  }
  UnregisterClassW(Win32Window::kClassName, nullptr);
  GetWindowClassState().class_registered = false;
}

}  // namespace

Win32Window::Win32Window() {
  ++live_window_count;
}

Win32Window::~Win32Window() {
  --live_window_count;
  ReleaseWindow();
}

bool Win32Window::OpenWindow(const std::wstring& title,
                             const WindowOrigin& origin,
                             const WindowSize& size) {
  ReleaseWindow();

  WindowClassState& class_state = GetWindowClassState();
  if (!class_state.class_registered) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = ClassWindowProcedure;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = 0;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconResource));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = nullptr;
    window_class.lpszMenuName = nullptr;
    window_class.lpszClassName = kClassName;
    RegisterClassW(&window_class);
    class_state.class_registered = true;
  }

  // The monitor is chosen by the unscaled origin.
  const POINT origin_point = {origin.x, origin.y};
  const HMONITOR monitor = MonitorFromPoint(origin_point, MONITOR_DEFAULTTONEAREST);
  const double scale_factor = FlutterDesktopGetDpiForMonitor(monitor) / kLogicalDpi;

  const HWND window = CreateWindowExW(
      0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, Scale(origin.x, scale_factor),
      Scale(origin.y, scale_factor), Scale(size.width, scale_factor),
      Scale(size.height, scale_factor), nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (window == nullptr) {
    return false;
  }
  ApplyTitleBarTheme(window);
  return AfterWindowCreated();
}

bool Win32Window::RevealWindow() {
  return ShowWindow(native_window_, SW_SHOWNORMAL) != 0;
}

void Win32Window::ReleaseWindow() {
  BeforeWindowReleased();
  if (native_window_ != nullptr) {
    // WM_DESTROY comes back into this function before DestroyWindow returns,
    // with native_window_ already cleared.
    DestroyWindow(native_window_);
    native_window_ = nullptr;
  }
  UnregisterWindowClassIfUnused();
}

void Win32Window::EmbedChild(HWND child) {
  child_window_ = child;
  SetParent(child, native_window_);
  const RECT frame = ClientRect();
  MoveWindow(child, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
             TRUE);
  SetFocus(child_window_);
}

RECT Win32Window::ClientRect() {
  RECT rect = {};
  GetClientRect(native_window_, &rect);
  return rect;
}

void Win32Window::SetEndsMessageLoop(bool value) {
  ends_message_loop_ = value;
}

LRESULT Win32Window::HandleWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      // The window is going by the user's or the system's hand: run the
      // destruction hook without destroying it a second time.
      native_window_ = nullptr;
      ReleaseWindow();
      if (ends_message_loop_) {
        PostQuitMessage(0);
      }
      return 0;

    case WM_SIZE: {
      // The only place the child is resized: DPI changes arrive here too.
      const RECT frame = ClientRect();
      if (child_window_ != nullptr) {
        MoveWindow(child_window_, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, TRUE);
      }
      return 0;
    }

    case WM_ACTIVATE:
      // Keyboard input belongs to the engine's view.
      if (child_window_ != nullptr) {
        SetFocus(child_window_);
      }
      return 0;

    case WM_DPICHANGED: {
      // The system's suggestion keeps the window where the user put it and
      // sized for the new DPI.
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      if (suggested != nullptr) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    }

    case WM_DWMCOLORIZATIONCOLORCHANGED:
      // Sent when the user switches between the light and dark theme.
      ApplyTitleBarTheme(window);
      return 0;
  }
  return DefWindowProcW(native_window_, message, wparam, lparam);
}

bool Win32Window::AfterWindowCreated() {
  return true;
}

void Win32Window::BeforeWindowReleased() {}

LRESULT CALLBACK Win32Window::ClassWindowProcedure(HWND window,
                                                   UINT message,
                                                   WPARAM wparam,
                                                   LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* self = static_cast<Win32Window*>(creation->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    EnableFrameDpiScaling(window);
    // A window of this class created by someone else carries no object.
    if (self != nullptr) {
      self->native_window_ = window;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    try {
      return self->HandleWindowMessage(window, message, wparam, lparam);
    } catch (...) {
      // Nothing may unwind into the system's message dispatch.
      flutter::ReportStoppedException("Win32Window::ClassWindowProcedure");
      return 0;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}
