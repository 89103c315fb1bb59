#include "platform/winrt/imaging/image_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>

#include "platform/winrt/imaging/address_sanitizer.h"

namespace winrt_layer {
namespace {

// The large blocks handed out, by address, with their lengths.
struct LargeBlocks {
  std::mutex mutex;
  std::map<void*, size_t> lengths;
};

// Never destroyed: images are freed as the process exits.
LargeBlocks& Blocks() {
  static auto* blocks = new LargeBlocks;
  return *blocks;
}

uintptr_t RoundUp(uintptr_t value, uintptr_t unit) {
  return (value + unit - 1) / unit * unit;
}

// `length` bytes (a multiple of kHugePageBytes) starting on a huge page:
// a huge page more is mapped, and what lies before and after the aligned
// block is unmapped again. Null without memory.
void* MapAligned(size_t length) {
  void* mapping = mmap(nullptr, length + kHugePageBytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) {
    return nullptr;
  }
  auto* first = static_cast<char*>(mapping);
  auto* start =
      reinterpret_cast<char*>(RoundUp(reinterpret_cast<uintptr_t>(first), kHugePageBytes));
  size_t before = static_cast<size_t>(start - first);
  if (before > 0) {
    munmap(first, before);
  }
  if (before < kHugePageBytes) {
    munmap(start + length, kHugePageBytes - before);
  }
  return start;
}

}  // namespace

void* AllocateImageData(size_t bytes) {
  if (kAddressSanitizer || bytes < kLargeImageBytes) {
    return std::malloc(bytes);
  }
  if (bytes > SIZE_MAX - 2 * kHugePageBytes) {
    return nullptr;
  }
  size_t length = RoundUp(bytes, kHugePageBytes);
  void* block = MapAligned(length);
  if (block == nullptr) {
    return nullptr;
  }
  // Advice only: without huge pages the block is ordinary memory.
  madvise(block, length, MADV_HUGEPAGE);
  LargeBlocks& blocks = Blocks();
  try {
    std::lock_guard<std::mutex> lock(blocks.mutex);
    blocks.lengths.emplace(block, length);
  } catch (const std::bad_alloc&) {
    munmap(block, length);
    return nullptr;
  }
  return block;
}

void FreeImageData(void* data) {
  // A large block starts on a huge page; most of the heap's blocks do not,
  // and are freed without the lock.
  if (reinterpret_cast<uintptr_t>(data) % kHugePageBytes == 0 && data != nullptr) {
    LargeBlocks& blocks = Blocks();
    size_t length = 0;
    {
      std::lock_guard<std::mutex> lock(blocks.mutex);
      auto block = blocks.lengths.find(data);
      if (block != blocks.lengths.end()) {
        length = block->second;
        blocks.lengths.erase(block);
      }
    }
    if (length > 0) {
      munmap(data, length);
      return;
    }
  }
  std::free(data);
}

}  // namespace winrt_layer
