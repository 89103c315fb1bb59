#ifndef PLATFORM_WINRT_RECOGNITION_SCREEN_SIZE_H_
#define PLATFORM_WINRT_RECOGNITION_SCREEN_SIZE_H_

#include <cstdint>

namespace winrt_layer {

// The pixels of a 4K screen, the largest screenshot recognition treats as a
// screen: read whole, read both ways at once, looked over for small text
// and for what its layout left in pictures.
inline constexpr int64_t kLargestScreenPixels = int64_t{3840} * 2160;

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SCREEN_SIZE_H_
