#include "platform/win32/executable_path.h"

#include <unistd.h>

#include <vector>

namespace win32 {

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  while (true) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) {
      return std::string();
    }
    // A full buffer may have cut the path short.
    if (static_cast<size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace win32
