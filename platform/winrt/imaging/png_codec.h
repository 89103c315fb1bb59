#ifndef PLATFORM_WINRT_IMAGING_PNG_CODEC_H_
#define PLATFORM_WINRT_IMAGING_PNG_CODEC_H_

#include <windef.h>

#include <functional>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// PNG through libpng with error handlers of our own: Leptonica's reader
// lets libpng print its errors on standard error.
//
// The pixels: 1 bit per pixel for black-and-white images, else 8-bit gray
// (recognition reads gray; color would take four times the memory);
// transparent pixels are laid on white. Null for a truncated or corrupt
// file, and when `stop_requested`, asked before each row of a file that is
// not interlaced, says true.
ScopedPix DecodePng(const std::vector<BYTE>& content,
                    const std::function<bool()>& stop_requested = {});

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_PNG_CODEC_H_
