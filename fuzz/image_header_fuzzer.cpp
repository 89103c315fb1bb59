// Any content gets a header or a failure, never a fault, and an accepted
// header keeps within the decoder's limits; a GIF's layout lies within its
// content, in order; the EXIF orientation of any content is one of the
// eight.

#include <winerror.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/exif_orientation.h"
#include "platform/winrt/imaging/gif_codec.h"
#include "platform/winrt/imaging/image_header.h"
#include "platform/winrt/imaging/image_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<BYTE> content(data, data + size);
  winrt_layer::ImageHeader header;
  winrt_layer::RuntimeError error = winrt_layer::ImageHeader::Read(content, &header);
  if (SUCCEEDED(error.code)) {
    if (header.width == 0 || header.height == 0 || header.frame_count == 0 ||
        header.DecodedBytes() > winrt_layer::kMaxDecodedBytes) {
      __builtin_trap();
    }
    winrt_layer::GifLayout gif;
    if (header.format == winrt_layer::ImageFormat::kGif &&
        (FAILED(winrt_layer::ReadGifLayout(content, &gif).code) ||
         gif.first_frame_end > content.size() || gif.screen_end > gif.first_frame_start ||
         gif.first_frame_start >= gif.first_frame_end)) {
      __builtin_trap();
    }
  } else if (!error.description.empty() && error.code != WINCODEC_ERR_IMAGESIZEOUTOFRANGE) {
    // Only the size failure carries a description of its own.
    __builtin_trap();
  }
  uint32_t orientation = winrt_layer::ReadJpegOrientation(content);
  if (orientation < 1 || orientation > 8) {
    __builtin_trap();
  }
  return 0;
}
