#include "platform/winrt/imaging/gif_codec.h"

#include <winerror.h>

#include <algorithm>

#include "platform/winrt/imaging/byte_order.h"

namespace winrt_layer {
namespace {

constexpr size_t kScreenDescriptorEnd = 13;
constexpr BYTE kExtensionIntroducer = 0x21;
constexpr BYTE kImageSeparator = 0x2C;
constexpr BYTE kTrailer = 0x3B;

// Moves past a chain of data sub-blocks; false when it runs off the end.
bool SkipSubBlocks(const std::vector<BYTE>& content, size_t* position) {
  while (*position < content.size()) {
    size_t length = content[(*position)++];
    if (length == 0) {
      return true;
    }
    *position += length;
  }
  return false;
}

size_t ColorTableBytes(BYTE packed_fields) {
  return (packed_fields & 0x80) != 0 ? 3 * (size_t{1} << ((packed_fields & 0x07) + 1)) : 0;
}

}  // namespace

RuntimeError ReadGifLayout(const std::vector<BYTE>& content, GifLayout* layout) {
  *layout = GifLayout();
  if (content.size() < kScreenDescriptorEnd) {
    return {WINCODEC_ERR_BADHEADER, {}};
  }
  layout->width = ReadLittleEndian16(&content[6]);
  layout->height = ReadLittleEndian16(&content[8]);
  size_t position = kScreenDescriptorEnd + ColorTableBytes(content[10]);
  layout->screen_end = std::min(position, content.size());
  while (position < content.size()) {
    BYTE introducer = content[position++];
    if (introducer == kExtensionIntroducer && position < content.size()) {
      ++position;  // The extension's label.
      if (!SkipSubBlocks(content, &position)) {
        break;
      }
    } else if (introducer == kImageSeparator && position + 9 <= content.size()) {
      size_t start = position - 1;
      uint32_t width = ReadLittleEndian16(&content[position + 4]);
      uint32_t height = ReadLittleEndian16(&content[position + 6]);
      position += 9 + ColorTableBytes(content[position + 8]);
      ++position;  // The LZW code size.
      if (!SkipSubBlocks(content, &position)) {
        break;
      }
      if (++layout->frame_count == 1) {
        layout->first_frame_start = start;
        layout->first_frame_end = position;
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
