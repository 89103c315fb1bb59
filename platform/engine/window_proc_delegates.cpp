#include "platform/engine/window_proc_delegates.h"

#include <algorithm>

namespace norvalis_engine {

void WindowProcDelegates::Add(const void* owner,
                              FlutterDesktopWindowProcCallback delegate,
                              void* user_data) {
  for (Entry& entry : entries_) {
    if (entry.owner == owner && entry.delegate == delegate) {
      entry.user_data = user_data;
      return;
    }
  }
  entries_.push_back({owner, delegate, user_data});
}

void WindowProcDelegates::Remove(const void* owner, FlutterDesktopWindowProcCallback delegate) {
  std::erase_if(entries_, [owner, delegate](const Entry& entry) {
    return entry.owner == owner && entry.delegate == delegate;
  });
}

bool WindowProcDelegates::Offer(HWND window,
                                UINT message,
                                WPARAM wparam,
                                LPARAM lparam,
                                LRESULT* result) const {
  // By index over the live list: a delegate may unregister itself or another
  // one while it runs, and a removed delegate must not be called.
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry entry = entries_[i];
    LRESULT delegate_result = 0;
    if (entry.delegate(window, message, wparam, lparam, entry.user_data, &delegate_result)) {
      if (result != nullptr) {
        *result = delegate_result;
      }
      return true;
    }
  }
  return false;
}

}  // namespace norvalis_engine
