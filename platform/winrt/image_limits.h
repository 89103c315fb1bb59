#ifndef PLATFORM_WINRT_IMAGE_LIMITS_H_
#define PLATFORM_WINRT_IMAGE_LIMITS_H_

#include <cstdint>

namespace winrt_layer {

// The limits that keep any input within the process's memory budget of
// about 256 MiB (the libraries and Tesseract's model take about 37 MiB).

// OcrEngine.MaxImageDimension: the widest and tallest bitmap recognised.
inline constexpr uint32_t kMaxImageDimension = 10000;

// The largest file the decoder reads into memory; it holds the file only
// while it reads a header or decodes.
inline constexpr uint64_t kMaxEncodedBytes = 64ull << 20;

// The largest decoded first frame, checked from the header before any
// decoding allocation. Black-and-white images count 1 bit per pixel, every
// other kind 32: a grey image decodes to 8 bits, but recognition adds a
// grey copy and Tesseract two more. So 16 Mi pixels of colour or grey (a
// 4096 x 4096 colour image peaks at 151 MiB recognised), and more than
// 10000 x 10000 in black and white (97 MiB).
inline constexpr uint64_t kMaxDecodedBytes = 64ull << 20;

// The most outline pixels (foreground pixels next to background, after
// Tesseract's thresholding) a recognition takes. Tesseract's memory and time
// follow the outlines it traces, up to about 110 bytes a pixel of outline
// (a 3000 x 3000 grid of dots: 1.7 million, 190 MiB); a dense printed page
// at 300 dpi has about 300000.
inline constexpr int32_t kMaxOutlinePixels = 1000000;

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGE_LIMITS_H_
