#ifndef PLATFORM_WINRT_RECOGNITION_SCREEN_SIZE_H_
#define PLATFORM_WINRT_RECOGNITION_SCREEN_SIZE_H_

#include <leptonica/allheaders.h>

#include <cstdint>

namespace winrt_layer {

// The pixels of a 4K screen, the largest screenshot recognition treats as a
// screen: read whole, read both ways at once, looked over for small text
// and for what its layout left in pictures.
inline constexpr int64_t kLargestScreenPixels = int64_t{3840} * 2160;

// Whether `page`, as Tesseract was given it, is a screen's: gray, and up to
// a 4K screen's size. Its small text, the rows its layout left out and its
// lines in parts are read again.
inline bool IsScreenPage(PIX* page) {
  return page != nullptr && pixGetDepth(page) == 8 &&
         int64_t{pixGetWidth(page)} * pixGetHeight(page) <= kLargestScreenPixels;
}

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SCREEN_SIZE_H_
