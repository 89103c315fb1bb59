#ifndef PLATFORM_ENGINE_WINDOW_PROC_DELEGATES_H_
#define PLATFORM_ENGINE_WINDOW_PROC_DELEGATES_H_

#include <vector>

#include "engine_bridge/engine_api.h"

namespace norvalis_engine {

// The plugins' looks at the host's top-level window messages, in the order
// they were registered. Main thread only.
class WindowProcDelegates {
 public:
  // `owner` is the registering registrar. Registering a delegate again
  // through the same registrar keeps its place and takes the new user data.
  void Add(const void* owner, FlutterDesktopWindowProcCallback delegate, void* user_data);
  void Remove(const void* owner, FlutterDesktopWindowProcCallback delegate);

  // Offers the message to each delegate until one consumes it; true, with
  // `*result` set by it, when one did.
  bool Offer(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) const;

 private:
  struct Entry {
    const void* owner;
    FlutterDesktopWindowProcCallback delegate;
    void* user_data;
  };

  std::vector<Entry> entries_;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_WINDOW_PROC_DELEGATES_H_
