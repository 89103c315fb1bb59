#include "platform/win32/desktop.h"

#include <errhandlingapi.h>
#include <processthreadsapi.h>
#include <winerror.h>

#include <algorithm>

#include "platform/win32/non_client_frame.h"

namespace win32 {
namespace {

// Ties a thread's queue to the thread's lifetime.
class ThreadAttachment {
 public:
  ThreadAttachment() = default;
  ThreadAttachment(const ThreadAttachment&) = delete;
  ThreadAttachment& operator=(const ThreadAttachment&) = delete;
  ~ThreadAttachment() {
    if (queue != nullptr) {
      Desktop::Get().DetachThread(queue->thread_id());
    }
  }

  std::shared_ptr<MessageQueue> queue;
};

}  // namespace

Desktop& Desktop::Get() {
  static Desktop* const desktop = new Desktop();
  return *desktop;
}

const std::shared_ptr<MessageQueue>& Desktop::CurrentQueue() {
  thread_local ThreadAttachment attachment;
  if (attachment.queue == nullptr) {
    attachment.queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
    queues_[attachment.queue->thread_id()] = attachment.queue;
  }
  return attachment.queue;
}

std::shared_ptr<MessageQueue> Desktop::QueueOf(DWORD thread_id) const {
  const auto found = queues_.find(thread_id);
  return found != queues_.end() ? found->second : nullptr;
}

Window* Desktop::FindWindow(HWND handle) const {
  const auto found = windows_.find(handle);
  return found != windows_.end() ? found->second.get() : nullptr;
}

Window* Desktop::FindWindowOrFail(HWND handle) const {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  }
  return window;
}

Window* Desktop::FindOwnWindowOrFail(HWND handle) const {
  Window* window = FindWindowOrFail(handle);
  if (window != nullptr && window->thread_id != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return window;
}

Window& Desktop::AddWindow(std::unique_ptr<Window> window) {
  window->handle = reinterpret_cast<HWND>(next_window_handle_);
  next_window_handle_ += 4;
  Window& added = *window;
  windows_[added.handle] = std::move(window);
  if (std::vector<HWND>* siblings = SiblingsOf(added)) {
    siblings->insert(siblings->begin(), added.handle);
    KeepTopmostInFront(*siblings);
  }
  ++added.window_class->window_count;
  return added;
}

void Desktop::RemoveWindow(HWND handle) {
  Window* window = FindWindow(handle);
  if (window == nullptr) {
    return;
  }
  while (!window->children.empty()) {
    const HWND child = window->children.front();
    if (FindWindow(child) == nullptr) {
      window->children.erase(window->children.begin());
    } else {
      RemoveWindow(child);
    }
  }
  Unlink(*window);
  --window->window_class->window_count;
  if (foreground_ == handle) {
    foreground_ = nullptr;
  }
  for (auto& [thread_id, queue] : queues_) {
    queue->RemovePostedFor(handle);
    if (queue->focus == handle) {
      queue->focus = nullptr;
    }
    if (queue->active == handle) {
      queue->active = nullptr;
    }
  }
  for (auto& [other_handle, other] : windows_) {
    if (other->owner == handle) {
      other->owner = nullptr;
    }
  }
  windows_.erase(handle);
}

std::vector<HWND> Desktop::OwnedBy(HWND owner) const {
  std::vector<HWND> owned;
  for (const auto& [handle, window] : windows_) {
    if (window->owner == owner) {
      owned.push_back(handle);
    }
  }
  return owned;
}

std::vector<HWND> Desktop::WindowsOf(DWORD thread_id) const {
  std::vector<HWND> windows;
  for (const auto& [handle, window] : windows_) {
    if (window->thread_id == thread_id) {
      windows.push_back(handle);
    }
  }
  return windows;
}

std::vector<HWND>* Desktop::SiblingsOf(const Window& window) {
  if (window.message_only) {
    return nullptr;
  }
  if (window.parent == nullptr) {
    return &top_level_windows_;
  }
  Window* parent = FindWindow(window.parent);
  return parent != nullptr ? &parent->children : nullptr;
}

void Desktop::Unlink(const Window& window) {
  if (std::vector<HWND>* siblings = SiblingsOf(window)) {
    std::erase(*siblings, window.handle);
  }
}

void Desktop::BringToFront(const Window& window) {
  std::vector<HWND>* siblings = SiblingsOf(window);
  if (siblings == nullptr) {
    return;
  }
  std::erase(*siblings, window.handle);
  siblings->insert(siblings->begin(), window.handle);
  KeepTopmostInFront(*siblings);
}

void Desktop::KeepTopmostInFront(std::vector<HWND>& siblings) const {
  std::stable_partition(siblings.begin(), siblings.end(), [this](HWND handle) {
    const Window* window = FindWindow(handle);
    return window != nullptr && (window->ex_style & WS_EX_TOPMOST) != 0;
  });
}

Window* Desktop::TopLevelAncestor(Window& window) const {
  Window* current = &window;
  while (current->parent != nullptr) {
    Window* parent = FindWindow(current->parent);
    if (parent == nullptr) {
      break;
    }
    current = parent;
  }
  return current;
}

bool Desktop::IsSelfOrDescendant(HWND ancestor, HWND descendant) const {
  for (HWND current = descendant; current != nullptr;) {
    if (current == ancestor) {
      return true;
    }
    const Window* window = FindWindow(current);
    current = window != nullptr ? window->parent : nullptr;
  }
  return false;
}

std::vector<HWND> Desktop::SubtreeOf(HWND handle) const {
  std::vector<HWND> subtree;
  std::vector<HWND> pending = {handle};
  while (!pending.empty()) {
    const HWND current = pending.back();
    pending.pop_back();
    const Window* window = FindWindow(current);
    if (window == nullptr) {
      continue;
    }
    subtree.push_back(current);
    pending.insert(pending.end(), window->children.rbegin(), window->children.rend());
  }
  return subtree;
}

const Monitor& Desktop::MonitorOf(const Window& window) const {
  const Window* top = &window;
  while (top->parent != nullptr) {
    const Window* parent = FindWindow(top->parent);
    if (parent == nullptr) {
      break;
    }
    top = parent;
  }
  const RECT& rect = (top->style & WS_MINIMIZE) != 0 ? top->normal_rect : top->rect;
  return *monitors_.FromRect(rect, MONITOR_DEFAULTTONEAREST);
}

UINT Desktop::DpiOf(const Window& window) const {
  return MonitorOf(window).dpi;
}

RECT Desktop::ClientRectOf(const Window& window) const {
  if ((window.style & WS_MINIMIZE) != 0) {
    return {0, 0, 0, 0};
  }
  const NonClientFrame frame = FrameFor(window.style, window.IsTopLevel(), DpiOf(window));
  const LONG width = window.rect.right - window.rect.left - frame.left - frame.right;
  const LONG height = window.rect.bottom - window.rect.top - frame.top - frame.bottom;
  return {0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

RECT Desktop::ScreenRectOf(const Window& window) const {
  RECT rect = window.rect;
  if (window.parent != nullptr) {
    if (const Window* parent = FindWindow(window.parent)) {
      const RECT parent_rect = ScreenRectOf(*parent);
      const NonClientFrame frame = FrameFor(parent->style, parent->IsTopLevel(), DpiOf(*parent));
      const LONG dx = parent_rect.left + frame.left;
      const LONG dy = parent_rect.top + frame.top;
      rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
  }
  return rect;
}

POINT Desktop::ClientOriginOf(const Window& window) const {
  if ((window.style & WS_MINIMIZE) != 0) {
    return {window.rect.left, window.rect.top};
  }
  const NonClientFrame frame = FrameFor(window.style, window.IsTopLevel(), DpiOf(window));
  return {window.rect.left + frame.left, window.rect.top + frame.top};
}

HANDLE Desktop::ResourceHandle(const void* module, int kind, WORD id) {
  HANDLE& handle = resource_handles_[{{module, kind}, id}];
  if (handle == nullptr) {
    handle = reinterpret_cast<HANDLE>(next_resource_handle_);
    next_resource_handle_ += 4;
  }
  return handle;
}

void Desktop::RemoveSubtreeSilently(HWND handle) {
  const std::vector<HWND> subtree = SubtreeOf(handle);
  for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
    RemoveWindow(*it);
  }
}

void Desktop::Reset() {
  while (!top_level_windows_.empty()) {
    RemoveSubtreeSilently(top_level_windows_.front());
  }
  while (!windows_.empty()) {
    RemoveSubtreeSilently(windows_.begin()->first);
  }
  for (auto& [thread_id, queue] : queues_) {
    queue->Abandon();
  }
  classes_.Clear();
  monitors_.ResetToDefault();
  foreground_ = nullptr;
}

void Desktop::DetachThread(DWORD thread_id) {
  auto lock = Lock();
  for (HWND handle : WindowsOf(thread_id)) {
    RemoveSubtreeSilently(handle);
  }
  if (std::shared_ptr<MessageQueue> queue = QueueOf(thread_id)) {
    queue->Abandon();
  }
  queues_.erase(thread_id);
}

}  // namespace win32
