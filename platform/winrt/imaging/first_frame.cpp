#include "platform/winrt/imaging/first_frame.h"

#include <utility>

#include "platform/winrt/imaging/exif_orientation.h"
#include "platform/winrt/imaging/gif_codec.h"
#include "platform/winrt/imaging/jpeg_codec.h"
#include "platform/winrt/imaging/png_codec.h"

namespace winrt_layer {

ScopedPix DecodeFirstFrame(const std::vector<BYTE>& content,
                           const ImageHeader& header,
                           const std::function<bool()>& stop_requested) {
  SetUpLeptonica();
  switch (header.format) {
    case ImageFormat::kPng:
      return DecodePng(content, stop_requested);
    case ImageFormat::kJpeg: {
      ScopedPix pix = DecodeJpeg(content, stop_requested);
      return pix ? ApplyOrientation(std::move(pix), ReadJpegOrientation(content)) : nullptr;
    }
    case ImageFormat::kTiff:
      return ScopedPix(pixReadMemTiff(content.data(), content.size(), 0));
    case ImageFormat::kGif:
      return DecodeGif(content);
    default:
      return ScopedPix(pixReadMem(content.data(), content.size()));
  }
}

}  // namespace winrt_layer
