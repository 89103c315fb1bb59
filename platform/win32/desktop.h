#ifndef PLATFORM_WIN32_DESKTOP_H_
#define PLATFORM_WIN32_DESKTOP_H_

#include <winuser.h>

#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/win32/message_queue.h"
#include "platform/win32/monitor_layout.h"
#include "platform/win32/window.h"
#include "platform/win32/window_class_registry.h"

namespace win32 {

// The process-wide desktop: window classes, windows, the threads' message
// queues, monitors and the foreground window, all under one mutex. Every
// method but Get and Lock requires the lock. Window procedures are never
// called with the lock held.
class Desktop {
 public:
  // The one desktop of the process; it is never destroyed, so threads that
  // end during process exit can still detach from it.
  static Desktop& Get();

  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }

  WindowClassRegistry& classes() { return classes_; }
  MonitorLayout& monitors() { return monitors_; }

  // The calling thread's queue, created on first use; it lives until the
  // thread ends.
  const std::shared_ptr<MessageQueue>& CurrentQueue();
  // The queue of `thread_id`, or null when that thread has none.
  std::shared_ptr<MessageQueue> QueueOf(DWORD thread_id) const;

  // A window that exists (being destroyed included), or null.
  Window* FindWindow(HWND handle) const;
  // FindWindow for a handle a caller passed: null leaves the last error
  // ERROR_INVALID_WINDOW_HANDLE, as user32 fails for a handle that is not a
  // window.
  Window* FindWindowOrFail(HWND handle) const;
  // FindWindowOrFail for functions that act only on the calling thread's
  // windows: a window of another thread is null too, with ERROR_ACCESS_DENIED.
  Window* FindOwnWindowOrFail(HWND handle) const;
  // Takes the record, gives it a handle and puts it in front of its siblings.
  Window& AddWindow(std::unique_ptr<Window> window);
  // Forgets the window: its handle stops being valid, its posted messages
  // are dropped, and it is no longer anyone's focus, active or foreground
  // window. Children still left are forgotten with it.
  void RemoveWindow(HWND handle);
  // The windows `owner` owns, in no particular order.
  std::vector<HWND> OwnedBy(HWND owner) const;
  // Every window `thread_id` created (children and message-only windows
  // included), in no particular order.
  std::vector<HWND> WindowsOf(DWORD thread_id) const;

  // Top-level windows, front of the z-order first.
  const std::vector<HWND>& top_level_windows() const { return top_level_windows_; }
  // The z-ordered list that holds `window` (its parent's children, or the
  // top-level windows); null for message-only windows.
  std::vector<HWND>* SiblingsOf(const Window& window);
  void Unlink(const Window& window);
  // Puts `window` at the front of its siblings (HWND_TOP), keeping topmost
  // windows in front of the others.
  void BringToFront(const Window& window);
  void KeepTopmostInFront(std::vector<HWND>& siblings) const;

  Window* TopLevelAncestor(Window& window) const;
  // Whether `descendant` is `ancestor` or lies below it.
  bool IsSelfOrDescendant(HWND ancestor, HWND descendant) const;
  // `window` and everything below it, parents before children.
  std::vector<HWND> SubtreeOf(HWND window) const;

  // The monitor a window is on: by its restore rectangle when minimized, by
  // its top-level ancestor for child windows; the nearest one when it is on
  // none.
  const Monitor& MonitorOf(const Window& window) const;
  UINT DpiOf(const Window& window) const;
  // The client area of `window` in its own client coordinates (left and top
  // are 0); empty while minimized.
  RECT ClientRectOf(const Window& window) const;
  // The outer rectangle in screen coordinates.
  RECT ScreenRectOf(const Window& window) const;
  // The client area's top-left corner in the parent's client coordinates
  // (screen coordinates for top-level windows), as WM_MOVE reports it.
  POINT ClientOriginOf(const Window& window) const;

  HWND foreground() const { return foreground_; }
  void set_foreground(HWND window) { foreground_ = window; }

  // The icon or cursor handle of one resource of one module, the same for
  // every call.
  HANDLE ResourceHandle(const void* module, int kind, WORD id);

  // Forgets every window and class without sending a message, completes all
  // waiting sent calls with 0, empties every queue and restores the default
  // monitors.
  void Reset();

  // Called when a thread ends: its windows, and the windows below them, are
  // forgotten without messages; calls sent to it complete with 0.
  void DetachThread(DWORD thread_id);

 private:
  Desktop() = default;

  void RemoveSubtreeSilently(HWND window);

  std::mutex mutex_;
  WindowClassRegistry classes_;
  MonitorLayout monitors_;
  std::map<DWORD, std::shared_ptr<MessageQueue>> queues_;
  std::map<HWND, std::unique_ptr<Window>> windows_;
  std::vector<HWND> top_level_windows_;
  HWND foreground_ = nullptr;
  ULONG_PTR next_window_handle_ = 0x100000;
  std::map<std::pair<std::pair<const void*, int>, WORD>, HANDLE> resource_handles_;
  ULONG_PTR next_resource_handle_ = 0x400000;
};

}  // namespace win32

#endif  // PLATFORM_WIN32_DESKTOP_H_
