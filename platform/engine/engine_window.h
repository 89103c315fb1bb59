#ifndef PLATFORM_ENGINE_ENGINE_WINDOW_H_
#define PLATFORM_ENGINE_ENGINE_WINDOW_H_

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace norvalis_engine {

// The engine's own hidden window on the main thread: the way into that
// thread's message loop. Tasks posted from any thread run from the loop, one
// per message, in the order they were posted, so that a task which runs a
// nested loop does not hold up the others.
class EngineWindow {
 public:
  // The window, on the calling thread; null if it cannot be created.
  static std::unique_ptr<EngineWindow> Create();

  EngineWindow(const EngineWindow&) = delete;
  EngineWindow& operator=(const EngineWindow&) = delete;
  // Destroys the window; tasks that have not run are dropped.
  ~EngineWindow();

  HWND handle() const { return window_; }

  // Any thread.
  void PostTask(std::function<void()> task);

 private:
  EngineWindow() = default;

  static LRESULT CALLBACK Procedure(HWND window,
                                    UINT message,
                                    WPARAM wparam,
                                    LPARAM lparam) noexcept;
  // Runs the first task. The task may end the engine and this window with
  // it, so nothing of this object is used once it has started.
  void RunOneTask();

  HWND window_ = nullptr;
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
  // One wake-up message at most waits in the queue.
  bool wake_pending_ = false;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_ENGINE_WINDOW_H_
