#ifndef OCR_UNIQUE_HANDLE_H_
#define OCR_UNIQUE_HANDLE_H_

#include <windows.h>

#include <utility>

// Owns a kernel handle (an event here) and closes it when it goes. Null
// means none.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~UniqueHandle() {
    if (handle_ != nullptr) {
      CloseHandle(handle_);
    }
  }

  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
};

#endif  // OCR_UNIQUE_HANDLE_H_
