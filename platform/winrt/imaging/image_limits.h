#ifndef PLATFORM_WINRT_IMAGING_IMAGE_LIMITS_H_
#define PLATFORM_WINRT_IMAGING_IMAGE_LIMITS_H_

#include <cstdint>

namespace winrt_layer {

// The limits that keep any input within the process's memory budget of
// about 320 MiB (the libraries and Tesseract's model take about 37 MiB).

// OcrEngine.MaxImageDimension: the widest and tallest bitmap recognized.
inline constexpr uint32_t kMaxImageDimension = 10000;

// The largest file the decoder reads into memory; it holds the file only
// while it reads a header or decodes.
inline constexpr uint64_t kMaxEncodedBytes = 64ull << 20;

// The largest decoded first frame, checked from the header before any
// decoding allocation. Black-and-white images count 1 bit per pixel; JPEGs
// and PNGs, decoded to gray, 8; every other kind 32 (Leptonica decodes
// them in color, and recognition adds a gray copy). So a JPEG or PNG of
// MaxImageDimension on each side passes (95 MiB), a phone's 50 MP photo
// among them, and 24 Mi pixels of a color TIFF, BMP, GIF or WebP.
inline constexpr uint64_t kMaxDecodedBytes = 96ull << 20;

// The largest gray page handed to Tesseract, which makes a copy of its own
// while the image and the page are still held: three copies of the largest
// gray frame would pass the budget, so a larger page is binarized first.
inline constexpr uint64_t kMaxGrayPageBytes = 64ull << 20;

// The most outline pixels (foreground pixels next to background, after
// Tesseract's thresholding) a recognition takes. Tesseract's memory and time
// follow the outlines it traces, up to about 110 bytes a pixel of outline
// (a 3000 x 3000 grid of dots: 1.7 million, 190 MiB); a dense printed page
// at 300 dpi has about 300000.
inline constexpr int32_t kMaxOutlinePixels = 1000000;

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_IMAGE_LIMITS_H_
