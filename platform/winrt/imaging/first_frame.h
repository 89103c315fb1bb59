#ifndef PLATFORM_WINRT_IMAGING_FIRST_FRAME_H_
#define PLATFORM_WINRT_IMAGING_FIRST_FRAME_H_

#include <windef.h>

#include <functional>
#include <vector>

#include "platform/winrt/imaging/image_header.h"
#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// The pixels of the first frame (page 0 of a TIFF) of `content`, whose
// header ImageHeader::Read accepted as `header`, turned as its EXIF or TIFF
// orientation says. Null for pixels that cannot be decoded (a truncated or
// corrupt file), without memory, or when `stop_requested` says true: JPEG
// and PNG ask it as they go, the formats Leptonica decodes do not.
ScopedPix DecodeFirstFrame(const std::vector<BYTE>& content,
                           const ImageHeader& header,
                           const std::function<bool()>& stop_requested = {});

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_FIRST_FRAME_H_
