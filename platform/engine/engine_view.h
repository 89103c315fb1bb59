#ifndef PLATFORM_ENGINE_ENGINE_VIEW_H_
#define PLATFORM_ENGINE_ENGINE_VIEW_H_

#include <windows.h>

#include <memory>

namespace norvalis_engine {

// The view: the child window that shows the engine's output and that the
// host moves into its own window with SetParent. It starts as a visible child
// of the engine's hidden window, so it shows (and may take the focus) as soon
// as the host's window does.
class EngineView {
 public:
  // On the calling thread; null if the window cannot be created.
  static std::unique_ptr<EngineView> Create(HWND parent, int width, int height);

  EngineView(const EngineView&) = delete;
  EngineView& operator=(const EngineView&) = delete;
  // Destroys the window unless the host's teardown already has.
  ~EngineView();

  HWND window() const { return window_; }

 private:
  explicit EngineView(HWND window) : window_(window) {}

  HWND window_;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_ENGINE_VIEW_H_
