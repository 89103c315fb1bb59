#include "platform/winrt/storage/scoped_fd.h"

#include <unistd.h>

namespace winrt_layer {

ScopedFd& ScopedFd::operator=(ScopedFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) {
      close(fd_);
    }
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

ScopedFd::~ScopedFd() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

}  // namespace winrt_layer
