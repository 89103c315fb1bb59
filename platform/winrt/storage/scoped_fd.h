#ifndef PLATFORM_WINRT_STORAGE_SCOPED_FD_H_
#define PLATFORM_WINRT_STORAGE_SCOPED_FD_H_

#include <utility>

namespace winrt_layer {

// Owns one open file descriptor (-1: none).
class ScopedFd {
 public:
  ScopedFd() = default;
  explicit ScopedFd(int fd) : fd_(fd) {}
  ScopedFd(ScopedFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  ScopedFd& operator=(ScopedFd&& other) noexcept;
  ~ScopedFd();

  int Get() const { return fd_; }
  bool IsValid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_STORAGE_SCOPED_FD_H_
