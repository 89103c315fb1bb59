// The heap policy of every process that runs on this layer.
//
// glibc gives freed memory back to the system as soon as the top of its heap
// holds a few megabytes, and serves blocks above a threshold that it adapts
// at run time with fresh mappings. A host that passes megabyte messages
// between threads (an image's bytes, a recognised page) then page-faults on
// every message: a round trip of 1 MiB cost ten times its copies. The heap
// keeps up to 32 MiB of freed memory for reuse instead; blocks above that
// still get mappings of their own and go back to the system when freed.

#include <malloc.h>

namespace win32 {
namespace {

constexpr int kRetainedHeapBytes = 32 * 1024 * 1024;

struct ProcessHeapPolicy {
  ProcessHeapPolicy() {
    mallopt(M_MMAP_THRESHOLD, kRetainedHeapBytes);
    mallopt(M_TRIM_THRESHOLD, kRetainedHeapBytes);
  }
};

const ProcessHeapPolicy process_heap_policy;

}  // namespace
}  // namespace win32
