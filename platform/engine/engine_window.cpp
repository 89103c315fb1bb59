#include "platform/engine/engine_window.h"

#include <utility>

#include "platform/engine/dropped_call.h"

namespace norvalis_engine {
namespace {

constexpr wchar_t kWindowClass[] = L"NorvalisEngineWindow";
constexpr UINT kRunTaskMessage = WM_APP + 1;

}  // namespace

std::unique_ptr<EngineWindow> EngineWindow::Create() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = Procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = kWindowClass;
  // Every engine registers the class; the first one's registration serves
  // them all.
  if (RegisterClassW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }
  std::unique_ptr<EngineWindow> engine_window(new EngineWindow());
  // Message-only: never shown, never found by FindWindowW, never activated.
  engine_window->window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, instance, engine_window.get());
  if (engine_window->window_ == nullptr) {
    return nullptr;
  }
  return engine_window;
}

EngineWindow::~EngineWindow() {
  if (window_ == nullptr) {
    return;
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
  // Fails while another engine's window still uses the class, which then
  // stays for it.
  UnregisterClassW(kWindowClass, GetModuleHandleW(nullptr));
}

void EngineWindow::PostTask(std::function<void()> task) {
  std::lock_guard<std::mutex> lock(mutex_);
  tasks_.push_back(std::move(task));
  if (!wake_pending_) {
    wake_pending_ = PostMessageW(window_, kRunTaskMessage, 0, 0) != FALSE;
  }
}

void EngineWindow::RunOneTask() {
  std::function<void()> task;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    wake_pending_ = false;
    if (tasks_.empty()) {
      return;
    }
    task = std::move(tasks_.front());
    tasks_.pop_front();
    if (!tasks_.empty()) {
      wake_pending_ = PostMessageW(window_, kRunTaskMessage, 0, 0) != FALSE;
    }
  }
  task();
}

LRESULT CALLBACK EngineWindow::Procedure(HWND window,
                                         UINT message,
                                         WPARAM wparam,
                                         LPARAM lparam) noexcept {
  try {
    switch (message) {
      case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
      }
      case kRunTaskMessage:
        // Null once the engine is ending: its tasks are dropped.
        if (auto* self =
                reinterpret_cast<EngineWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
          self->RunOneTask();
        }
        return 0;
      case WM_CLOSE:
        // Closing the host's window ends the engine through its view
        // controller; a close request reaching this window must not.
        return 0;
      default:
        break;
    }
  } catch (...) {
    // A task that failed is dropped; the loop goes on.
    ReportDroppedCall("EngineWindow::Procedure");
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace norvalis_engine
