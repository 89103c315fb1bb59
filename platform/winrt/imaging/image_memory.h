#ifndef PLATFORM_WINRT_IMAGING_IMAGE_MEMORY_H_
#define PLATFORM_WINRT_IMAGING_IMAGE_MEMORY_H_

#include <cstddef>

namespace winrt_layer {

// Leptonica's allocator for the pixels of its images.
//
// A photo's gray image is thousands of 4 KiB pages, and the first write to
// each costs a page fault, where a transparent huge page takes one fault for
// 512 of them. Blocks of kLargeImageBytes or more
// are therefore mappings of their own, aligned to and advised for
// transparent huge pages, and go back to the system when freed; smaller
// ones come from the heap. Where the system gives no huge pages, a large
// block is plain memory; under AddressSanitizer every block is on the heap,
// where overruns are caught.
//
// Null without memory. FreeImageData takes what AllocateImageData gave and
// what malloc gave, so that images made before Leptonica used these two are
// freed as well; null is ignored.
void* AllocateImageData(size_t bytes);
void FreeImageData(void* data);

// The size of a transparent huge page on x86-64, to which large blocks are
// aligned and rounded.
constexpr size_t kHugePageBytes = size_t{2} << 20;

// The size from which a block is a mapping of its own: rounding it to whole
// huge pages adds at most 2 MiB, a quarter of the smallest such block.
constexpr size_t kLargeImageBytes = size_t{8} << 20;

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_IMAGE_MEMORY_H_
