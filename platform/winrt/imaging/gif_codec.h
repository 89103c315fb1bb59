#ifndef PLATFORM_WINRT_IMAGING_GIF_CODEC_H_
#define PLATFORM_WINRT_IMAGING_GIF_CODEC_H_

#include <windef.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/runtime/runtime_error.h"

namespace winrt_layer {

// Where the parts of a GIF lie, found by walking its blocks without
// decoding: Leptonica would decode every frame to read a header.
struct GifLayout {
  // The logical screen, widened to the first frame where that is larger.
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t frame_count = 0;
  // Where the logical screen (with its color table) ends, and where the
  // first frame's image descriptor starts and its data end.
  size_t screen_end = 0;
  size_t first_frame_start = 0;
  size_t first_frame_end = 0;
};

// The layout of `content`, a GIF. Failures: WINCODEC_ERR_BADHEADER when
// the logical screen descriptor is cut short, WINCODEC_ERR_BADIMAGE when
// no whole frame follows it.
RuntimeError ReadGifLayout(const std::vector<BYTE>& content, GifLayout* layout);

// The pixels of the first frame of `content`, a GIF, decoded with
// Leptonica (giflib) as the layout above walks it. Null for a frame that
// cannot be decoded, or without memory.
ScopedPix DecodeGif(const std::vector<BYTE>& content);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_IMAGING_GIF_CODEC_H_
