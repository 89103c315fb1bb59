#include "platform/winrt/imaging/first_frame.h"

#include <utility>

#include "platform/winrt/imaging/exif_orientation.h"
#include "platform/winrt/imaging/jpeg_codec.h"
#include "platform/winrt/imaging/png_codec.h"

namespace winrt_layer {
namespace {

constexpr BYTE kGifTrailer = 0x3B;

}  // namespace

ScopedPix DecodeFirstFrame(const std::vector<BYTE>& content, const ImageHeader& header) {
  SetUpLeptonica();
  switch (header.format) {
    case ImageFormat::kPng:
      return DecodePng(content);
    case ImageFormat::kJpeg: {
      ScopedPix pix = DecodeJpeg(content);
      return pix ? ApplyOrientation(std::move(pix), ReadJpegOrientation(content)) : nullptr;
    }
    case ImageFormat::kTiff:
      return ScopedPix(pixReadMemTiff(content.data(), content.size(), 0));
    case ImageFormat::kGif: {
      // giflib reads every frame into memory: it is given the first only,
      // without the extensions before it, which giflib does not always walk
      // as the header did (an image descriptor of 39048 x 24623 was found
      // inside one).
      std::vector<BYTE> first_frame(content.begin(), content.begin() + header.screen_end);
      first_frame.insert(first_frame.end(), content.begin() + header.first_frame_start,
                         content.begin() + header.first_frame_end);
      first_frame.push_back(kGifTrailer);
      return ScopedPix(pixReadMemGif(first_frame.data(), first_frame.size()));
    }
    default:
      return ScopedPix(pixReadMem(content.data(), content.size()));
  }
}

}  // namespace winrt_layer
