#ifndef PLATFORM_WINRT_IMAGING_JPEG_CODEC_H_
#define PLATFORM_WINRT_IMAGING_JPEG_CODEC_H_

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// JPEG through libjpeg with an error manager of our own: Leptonica's lets
// libjpeg print its warnings on standard error. (libjpeg's INT32 and
// boolean clash with the Windows types: this file and its source stay
// apart from windef.h.)

// The size in the header, and what each pixel costs while it decodes: 8
// bits for the gray frame and, when libjpeg must keep the whole image's
// coefficients (a progressive or multi-scan file), 16 bits for each of
// them. False when the header cannot be read.
bool ReadJpegHeader(const std::vector<uint8_t>& content,
                    uint32_t* width,
                    uint32_t* height,
                    uint32_t* bits_per_pixel);

// The most scans a file of several is read for. Each passes over the whole
// image, whether it holds data or not: encoders write a dozen or two, and a
// few hundred bytes can declare hundreds.
inline constexpr int kMaxJpegScans = 64;

// The pixels, 8-bit gray whatever the colors. A file of one scan whose
// data ends early, or holds none between two restart markers, decodes as
// far as it goes, the rest white; a progressive one as well as the scans it
// has give it, the first kMaxJpegScans of them. Null for data libjpeg
// cannot decode, and when `stop_requested`, asked for each row of blocks
// libjpeg reads and each line it gives, says true.
ScopedPix DecodeJpeg(const std::vector<uint8_t>& content,
                     const std::function<bool()>& stop_requested = {});

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_JPEG_CODEC_H_
