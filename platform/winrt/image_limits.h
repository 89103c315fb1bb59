#ifndef PLATFORM_WINRT_IMAGE_LIMITS_H_
#define PLATFORM_WINRT_IMAGE_LIMITS_H_

#include <cstdint>

namespace winrt_layer {

// The limits that keep any input within the process's memory budget
// (about 256 MiB for one recognition).

// OcrEngine.MaxImageDimension: the widest and tallest bitmap recognised.
inline constexpr uint32_t kMaxImageDimension = 10000;

// The largest file the decoder reads into memory.
inline constexpr uint64_t kMaxEncodedBytes = 64ull << 20;

// The largest decoded first frame, at the depth it decodes to, colour and
// palette images counted at 32 bits per pixel. Checked from the header,
// before any decoding allocation.
inline constexpr uint64_t kMaxDecodedBytes = 64ull << 20;

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGE_LIMITS_H_
