#ifndef SHELL_WIN32_WINDOW_H_
#define SHELL_WIN32_WINDOW_H_

#include <windows.h>

#include <cstdint>
#include <string>

// A point in logical pixels (pixels at 96 DPI).
struct WindowOrigin {
  int32_t x;
  int32_t y;
};

// A size in logical pixels (pixels at 96 DPI).
struct WindowSize {
  int32_t width;
  int32_t height;
};

// The application's top-level window: one native overlapped window of the
// class "FLUTTER_RUNNER_WIN32_WINDOW", created at a size scaled to the DPI of
// its monitor, following DPI and theme changes, with one child window that
// fills its client area. Main thread only.
class Win32Window {
 public:
  static constexpr const wchar_t* kClassName = L"FLUTTER_RUNNER_WIN32_WINDOW";

  Win32Window();
  virtual ~Win32Window();

  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  // Creates the native window, hidden, after releasing any window this object
  // already has. True when the window exists and AfterWindowCreated agreed.
  bool OpenWindow(const std::wstring& title, const WindowOrigin& origin, const WindowSize& size);

  // Shows the window normally; true when it was already visible.
  bool RevealWindow();

  // Runs BeforeWindowReleased, destroys the native window if there is one,
  // and unregisters the window class once no window object is left.
  void ReleaseWindow();

  // Makes `child` (not owned) the child that fills the client area and has
  // the keyboard focus.
  void EmbedChild(HWND child);

  RECT ClientRect();

  // When set, destroying the native window ends the thread's message loop.
  void SetEndsMessageLoop(bool value);

  // The native window; null before OpenWindow and after its destruction.
  HWND native_window() const { return native_window_; }

 protected:
  // Handles one message of the native window. Overrides pass what they do
  // not consume to this version. An exception stops at the window procedure,
  // which reports it and answers 0.
  virtual LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  // Runs once the native window exists; false fails OpenWindow.
  virtual bool AfterWindowCreated();

  // Runs before the native window is destroyed, possibly more than once for
  // one window.
  virtual void BeforeWindowReleased();

 private:
  static LRESULT CALLBACK ClassWindowProcedure(HWND window,
                                               UINT message,
                                               WPARAM wparam,
                                               LPARAM lparam) noexcept;

  bool ends_message_loop_ = false;
  HWND native_window_ = nullptr;
  HWND child_window_ = nullptr;
};

#endif  // SHELL_WIN32_WINDOW_H_
