#include <errhandlingapi.h>
#include <winbase.h>
#include <winerror.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

// Every object's state is guarded by one lock, and every change wakes every
// waiter to re-check, as the kernel's dispatcher does: waits are rare and
// short here, so one lock costs nothing and keeps abandonment simple.
struct Dispatcher {
  std::mutex lock;
  std::condition_variable changed;
};

Dispatcher& TheDispatcher() {
  static auto* dispatcher = new Dispatcher;
  return *dispatcher;
}

class SyncObject {
 public:
  virtual ~SyncObject() = default;
  // Under the dispatcher lock: takes the object for the calling thread when
  // it is signalled, and returns the wait's result, or WAIT_TIMEOUT when it
  // is not signalled.
  virtual DWORD TryTake() = 0;
};

class Event : public SyncObject {
 public:
  Event(bool manual_reset, bool initially_set) : manual_reset_(manual_reset), set_(initially_set) {}

  void Set() { set_ = true; }
  void Reset() { set_ = false; }

  DWORD TryTake() override {
    if (!set_) {
      return WAIT_TIMEOUT;
    }
    if (!manual_reset_) {
      set_ = false;
    }
    return WAIT_OBJECT_0;
  }

 private:
  const bool manual_reset_;
  bool set_;
};

class Mutex;

// The mutexes the current thread owns; it abandons them when it ends.
class OwnedMutexes {
 public:
  ~OwnedMutexes();
  void Add(const std::shared_ptr<Mutex>& mutex) { owned_.push_back(mutex); }
  void Remove(const Mutex* mutex);

 private:
  std::vector<std::shared_ptr<Mutex>> owned_;
};

thread_local OwnedMutexes owned_by_this_thread;

class Mutex : public SyncObject, public std::enable_shared_from_this<Mutex> {
 public:
  DWORD TryTake() override {
    const std::thread::id self = std::this_thread::get_id();
    if (count_ != 0 && owner_ != self) {
      return WAIT_TIMEOUT;
    }
    if (count_++ == 0) {
      owner_ = self;
      owned_by_this_thread.Add(shared_from_this());
    }
    const DWORD result = abandoned_ ? WAIT_ABANDONED : WAIT_OBJECT_0;
    abandoned_ = false;
    return result;
  }

  // False when the calling thread does not own the mutex.
  bool Release() {
    if (count_ == 0 || owner_ != std::this_thread::get_id()) {
      return false;
    }
    if (--count_ == 0) {
      owner_ = std::thread::id();
      owned_by_this_thread.Remove(this);
    }
    return true;
  }

  void Abandon() {
    count_ = 0;
    owner_ = std::thread::id();
    abandoned_ = true;
  }

 private:
  std::thread::id owner_;
  unsigned count_ = 0;
  bool abandoned_ = false;
};

OwnedMutexes::~OwnedMutexes() {
  if (owned_.empty()) {
    return;
  }
  Dispatcher& dispatcher = TheDispatcher();
  {
    std::lock_guard<std::mutex> lock(dispatcher.lock);
    for (const std::shared_ptr<Mutex>& mutex : owned_) {
      mutex->Abandon();
    }
    owned_.clear();
  }
  dispatcher.changed.notify_all();
}

void OwnedMutexes::Remove(const Mutex* mutex) {
  owned_.erase(std::find_if(owned_.begin(), owned_.end(),
                            [mutex](const auto& owned) { return owned.get() == mutex; }));
}

// Handle values are multiples of four, as on Windows, and are not reused, so
// a handle used after CloseHandle fails instead of reaching another object.
// A wait holds its own reference, so closing a handle that another thread
// waits on does not end the object under it. Callers hold the dispatcher
// lock.
class HandleTable {
 public:
  HANDLE Add(std::shared_ptr<SyncObject> object) {
    next_value_ += 4;
    objects_[next_value_] = std::move(object);
    return reinterpret_cast<HANDLE>(next_value_);
  }

  // The object of that name while any handle to it is open, or null.
  std::shared_ptr<SyncObject> FindNamed(const std::wstring& name) { return named_[name].lock(); }

  void Name(const std::wstring& name, const std::shared_ptr<SyncObject>& object) {
    named_[name] = object;
  }

  std::shared_ptr<SyncObject> Find(HANDLE handle) {
    auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return found == objects_.end() ? nullptr : found->second;
  }

  bool Remove(HANDLE handle) { return objects_.erase(reinterpret_cast<uintptr_t>(handle)) == 1; }

 private:
  uintptr_t next_value_ = 0;
  std::unordered_map<uintptr_t, std::shared_ptr<SyncObject>> objects_;
  std::map<std::wstring, std::weak_ptr<SyncObject>> named_;
};

HandleTable& Handles() {
  static auto* table = new HandleTable;
  return *table;
}

// A user's session is the only namespace here: "Local\name" is "name".
std::wstring SessionName(LPCWSTR name) {
  constexpr std::wstring_view kLocalPrefix = L"Local\\";
  std::wstring_view view(name);
  if (view.substr(0, kLocalPrefix.size()) == kLocalPrefix) {
    view.remove_prefix(kLocalPrefix.size());
  }
  return std::wstring(view);
}

// A handle to the object named `name` if it exists and is a `T`, else to
// the one `make` returns, named. Sets the last error as Windows does.
template <typename T, typename Make>
HANDLE CreateNamed(LPCWSTR name, Make make) {
  std::lock_guard<std::mutex> lock(TheDispatcher().lock);
  if (name == nullptr) {
    return Handles().Add(make());
  }
  const std::wstring key = SessionName(name);
  std::shared_ptr<SyncObject> object = Handles().FindNamed(key);
  if (object != nullptr) {
    if (dynamic_cast<T*>(object.get()) == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    return Handles().Add(std::move(object));
  }
  object = make();
  Handles().Name(key, object);
  SetLastError(ERROR_SUCCESS);
  return Handles().Add(std::move(object));
}

// Under the dispatcher lock: the object of `handle` as a `T`, or null with
// ERROR_INVALID_HANDLE.
template <typename T>
T* FindLocked(HANDLE handle) {
  auto* object = dynamic_cast<T*>(Handles().Find(handle).get());
  if (object == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
  }
  return object;
}

// Changes the state of the object of `handle` with `change`, under the
// dispatcher lock, and wakes the waiters. False with the last error set when
// the handle is not a `T` or `change` fails with `error`.
template <typename T, typename Change>
BOOL ChangeObject(HANDLE handle, DWORD error, Change change) {
  Dispatcher& dispatcher = TheDispatcher();
  {
    std::lock_guard<std::mutex> lock(dispatcher.lock);
    T* object = FindLocked<T>(handle);
    if (object == nullptr) {
      return FALSE;
    }
    if (!change(*object)) {
      SetLastError(error);
      return FALSE;
    }
  }
  dispatcher.changed.notify_all();
  return TRUE;
}

}  // namespace

extern "C" HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES,
                                      BOOL manual_reset,
                                      BOOL initially_set,
                                      LPCWSTR name) {
  return CreateNamed<Event>(
      name, [&] { return std::make_shared<Event>(manual_reset != FALSE, initially_set != FALSE); });
}

extern "C" BOOL WINAPI SetEvent(HANDLE handle) {
  return ChangeObject<Event>(handle, ERROR_SUCCESS, [](Event& event) {
    event.Set();
    return true;
  });
}

extern "C" BOOL WINAPI ResetEvent(HANDLE handle) {
  return ChangeObject<Event>(handle, ERROR_SUCCESS, [](Event& event) {
    event.Reset();
    return true;
  });
}

extern "C" HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initial_owner, LPCWSTR name) {
  // Only a new mutex starts owned; opening an existing one asks for nothing.
  return CreateNamed<Mutex>(name, [&] {
    auto mutex = std::make_shared<Mutex>();
    if (initial_owner != FALSE) {
      mutex->TryTake();
    }
    return mutex;
  });
}

extern "C" BOOL WINAPI ReleaseMutex(HANDLE handle) {
  return ChangeObject<Mutex>(handle, ERROR_NOT_OWNER, [](Mutex& mutex) { return mutex.Release(); });
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  Dispatcher& dispatcher = TheDispatcher();
  std::unique_lock<std::mutex> lock(dispatcher.lock);
  const std::shared_ptr<SyncObject> object = Handles().Find(handle);
  if (object == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const DWORD result = object->TryTake();
    if (result != WAIT_TIMEOUT) {
      return result;
    }
    if (milliseconds == INFINITE) {
      dispatcher.changed.wait(lock);
    } else if (dispatcher.changed.wait_until(lock, deadline) == std::cv_status::timeout) {
      return object->TryTake();
    }
  }
}

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) {
  std::lock_guard<std::mutex> lock(TheDispatcher().lock);
  if (!Handles().Remove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
