#include <errhandlingapi.h>
#include <winbase.h>
#include <winerror.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace {

// The blocks LocalAlloc handed out, so that LocalFree can refuse anything
// else instead of corrupting the heap.
class LocalBlocks {
 public:
  void Add(void* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_.insert(block);
  }

  bool Remove(void* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    return blocks_.erase(block) == 1;
  }

 private:
  std::mutex mutex_;
  std::unordered_set<void*> blocks_;
};

LocalBlocks& Blocks() {
  // Never destroyed: blocks may be freed by static destructors.
  static auto* blocks = new LocalBlocks;
  return *blocks;
}

}  // namespace

extern "C" HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
  if ((flags & LMEM_MOVEABLE) != 0) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if ((flags & ~static_cast<UINT>(LMEM_ZEROINIT)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A zero-byte fixed block is still a distinct block.
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if ((flags & LMEM_ZEROINIT) != 0) {
    std::memset(block, 0, bytes);
  }
  Blocks().Add(block);
  return block;
}

extern "C" HLOCAL WINAPI LocalFree(HLOCAL memory) {
  if (memory == nullptr) {
    return nullptr;
  }
  if (!Blocks().Remove(memory)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
  }
  std::free(memory);
  return nullptr;
}
