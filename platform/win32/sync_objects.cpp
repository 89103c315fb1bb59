#include <errhandlingapi.h>
#include <winbase.h>
#include <winerror.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

class Event {
 public:
  Event(bool manual_reset, bool initially_set) : manual_reset_(manual_reset), set_(initially_set) {}

  void Set() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    // Every waiter re-checks; for an auto-reset event the first one to get
    // the lock takes the event and the others wait on.
    changed_.notify_all();
  }

  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = false;
  }

  // True once the event is set, false after the timeout.
  bool Wait(DWORD milliseconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto is_set = [this] { return set_; };
    if (milliseconds == INFINITE) {
      changed_.wait(lock, is_set);
    } else if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), is_set)) {
      return false;
    }
    if (!manual_reset_) {
      set_ = false;
    }
    return true;
  }

 private:
  const bool manual_reset_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_;
};

// Handle values are multiples of four, as on Windows, and are not reused, so
// a handle used after CloseHandle fails instead of reaching another object.
// A wait holds its own reference, so closing a handle that another thread
// waits on does not end the event under it.
class HandleTable {
 public:
  HANDLE Add(std::shared_ptr<Event> event) {
    std::lock_guard<std::mutex> lock(mutex_);
    next_value_ += 4;
    events_[next_value_] = std::move(event);
    return reinterpret_cast<HANDLE>(next_value_);
  }

  // The event of that name while any handle to it is open; otherwise a new
  // one, and *existed is false.
  std::shared_ptr<Event> FindOrCreateNamed(const std::wstring& name,
                                           bool manual_reset,
                                           bool initially_set,
                                           bool* existed) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::shared_ptr<Event> event = named_[name].lock();
    *existed = event != nullptr;
    if (event == nullptr) {
      event = std::make_shared<Event>(manual_reset, initially_set);
      named_[name] = event;
    }
    return event;
  }

  std::shared_ptr<Event> Find(HANDLE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = events_.find(reinterpret_cast<uintptr_t>(handle));
    return found == events_.end() ? nullptr : found->second;
  }

  bool Remove(HANDLE handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
  }

 private:
  std::mutex mutex_;
  uintptr_t next_value_ = 0;
  std::unordered_map<uintptr_t, std::shared_ptr<Event>> events_;
  std::map<std::wstring, std::weak_ptr<Event>> named_;
};

HandleTable& Handles() {
  static auto* table = new HandleTable;
  return *table;
}

std::shared_ptr<Event> FindEvent(HANDLE handle) {
  std::shared_ptr<Event> event = Handles().Find(handle);
  if (event == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
  }
  return event;
}

}  // namespace

extern "C" HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES,
                                      BOOL manual_reset,
                                      BOOL initially_set,
                                      LPCWSTR name) {
  if (name == nullptr) {
    return Handles().Add(std::make_shared<Event>(manual_reset != FALSE, initially_set != FALSE));
  }
  bool existed;
  std::shared_ptr<Event> event =
      Handles().FindOrCreateNamed(name, manual_reset != FALSE, initially_set != FALSE, &existed);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return Handles().Add(std::move(event));
}

extern "C" BOOL WINAPI SetEvent(HANDLE handle) {
  std::shared_ptr<Event> event = FindEvent(handle);
  if (event == nullptr) {
    return FALSE;
  }
  event->Set();
  return TRUE;
}

extern "C" BOOL WINAPI ResetEvent(HANDLE handle) {
  std::shared_ptr<Event> event = FindEvent(handle);
  if (event == nullptr) {
    return FALSE;
  }
  event->Reset();
  return TRUE;
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  std::shared_ptr<Event> event = FindEvent(handle);
  if (event == nullptr) {
    return WAIT_FAILED;
  }
  return event->Wait(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) {
  if (!Handles().Remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
