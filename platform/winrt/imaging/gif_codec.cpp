#include "platform/winrt/imaging/gif_codec.h"

#include <winerror.h>

#include <algorithm>

#include "platform/winrt/imaging/byte_reader.h"

namespace winrt_layer {
namespace {

constexpr size_t kScreenDescriptorEnd = 13;
constexpr uint32_t kExtensionIntroducer = 0x21;
constexpr uint32_t kImageSeparator = 0x2C;
// The image descriptor after its separator: position, size and fields.
constexpr uint64_t kImageDescriptorBytes = 9;
constexpr BYTE kTrailer = 0x3B;

// Moves past a chain of data sub-blocks; false when it runs off the end.
bool SkipSubBlocks(const ByteReader& reader, uint64_t* position) {
  uint64_t length = 0;
  while (reader.Read(*position, 1, &length)) {
    if (length == 0) {
      return CheckedAdd(*position, 1, position);
    }
    if (!CheckedAdd(*position, 1 + length, position)) {
      return false;
    }
  }
  return false;
}

uint64_t ColorTableBytes(uint32_t packed_fields) {
  return (packed_fields & 0x80) != 0 ? 3 * (uint64_t{1} << ((packed_fields & 0x07) + 1)) : 0;
}

}  // namespace

RuntimeError ReadGifLayout(const std::vector<BYTE>& content, GifLayout* layout) {
  *layout = GifLayout();
  ByteReader reader(content);
  uint32_t packed_fields = 0;
  if (!reader.Has(0, kScreenDescriptorEnd) || !reader.Read(6, 2, &layout->width) ||
      !reader.Read(8, 2, &layout->height) || !reader.Read(10, 1, &packed_fields)) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  uint64_t position = kScreenDescriptorEnd + ColorTableBytes(packed_fields);
  layout->screen_end = static_cast<size_t>(std::min<uint64_t>(position, content.size()));
  uint32_t introducer = 0;
  while (reader.Read(position, 1, &introducer)) {
    ++position;
    if (introducer == kExtensionIntroducer && reader.Has(position, 1)) {
      ++position;  // The extension's label.
      if (!SkipSubBlocks(reader, &position)) {
        break;
      }
    } else if (introducer == kImageSeparator && reader.Has(position, kImageDescriptorBytes)) {
      uint64_t start = position - 1;
      uint32_t width = 0;
      uint32_t height = 0;
      uint32_t frame_fields = 0;
      reader.Read(position + 4, 2, &width);
      reader.Read(position + 6, 2, &height);
      reader.Read(position + 8, 1, &frame_fields);
      // The descriptor, its color table and the LZW code size.
      position += kImageDescriptorBytes + ColorTableBytes(frame_fields) + 1;
      if (!SkipSubBlocks(reader, &position)) {
        break;
      }
      if (++layout->frame_count == 1) {
        layout->first_frame_start = static_cast<size_t>(start);
        layout->first_frame_end = static_cast<size_t>(position);
        layout->width = std::max(layout->width, width);
        layout->height = std::max(layout->height, height);
      }
    } else {
      break;
    }
  }
  if (layout->frame_count == 0) {
    return {WINCODEC_ERR_BADIMAGE, {}};
  }
  return {};
}

ScopedPix DecodeGif(const std::vector<BYTE>& content) {
  GifLayout layout;
  if (FAILED(ReadGifLayout(content, &layout).code)) {
    return nullptr;
  }
  // giflib reads every frame into memory: it is given the first only,
  // without the extensions before it, which giflib does not always walk
  // as the layout did (an image descriptor of 39048 x 24623 was found
  // inside one).
  std::vector<BYTE> first_frame(content.begin(), content.begin() + layout.screen_end);
  first_frame.insert(first_frame.end(), content.begin() + layout.first_frame_start,
                     content.begin() + layout.first_frame_end);
  first_frame.push_back(kTrailer);
  return ScopedPix(pixReadMemGif(first_frame.data(), first_frame.size()));
}

}  // namespace winrt_layer
