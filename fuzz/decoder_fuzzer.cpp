// Content whose header the decoder accepts decodes or fails cleanly, never
// faults, and decodes to no more pixels than its header declared. Built once
// per format (DECODER_FUZZER_FORMAT), so that each target's corpus grows
// within its own decoder; content of another format is left alone.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/first_frame.h"
#include "platform/winrt/imaging/image_header.h"

namespace {

bool Wanted(winrt_layer::ImageFormat format) {
  using winrt_layer::ImageFormat;
  switch (DECODER_FUZZER_FORMAT) {
    case 0:
      return format == ImageFormat::kJpeg;
    case 1:
      return format == ImageFormat::kPng;
    default:
      // The formats Leptonica decodes itself.
      return format == ImageFormat::kTiff || format == ImageFormat::kGif ||
             format == ImageFormat::kBmp || format == ImageFormat::kWebP;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<BYTE> content(data, data + size);
  winrt_layer::ImageHeader header;
  if (FAILED(winrt_layer::ImageHeader::Read(content, &header).code) || !Wanted(header.format)) {
    return 0;
  }
  winrt_layer::ScopedPix pix = winrt_layer::DecodeFirstFrame(content, header);
  if (pix != nullptr) {
    uint64_t pixels = uint64_t{static_cast<uint32_t>(pixGetWidth(pix.get()))} *
                      static_cast<uint32_t>(pixGetHeight(pix.get()));
    if (pixels > uint64_t{header.width} * header.height) {
      __builtin_trap();
    }
  }
  return 0;
}
