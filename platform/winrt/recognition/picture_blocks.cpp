#include "platform/winrt/recognition/picture_blocks.h"

#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "platform/winrt/recognition/screen_size.h"
#include "platform/winrt/recognition/sure_line.h"

namespace winrt_layer {
namespace {

// A block is looked into this many pixels within its box: its frame, the
// edge that made the layout take it for a picture, stays out.
constexpr l_int32 kFrameInset = 6;
// Blocks smaller than this inside their frame hold no line to read.
constexpr l_int32 kMinInnerSize = 12;
// A page's few dialogs and cards are looked into; a page of many pictures
// (thumbnails) holds their captions in lines the layout reads.
constexpr size_t kMaxBlocks = 4;
// A line read in a picture less surely than this is the picture's detail.
constexpr float kMinConfidence = 80;

bool IsPicture(tesseract::PolyBlockType type) {
  return type == tesseract::PT_FLOWING_IMAGE || type == tesseract::PT_HEADING_IMAGE ||
         type == tesseract::PT_PULLOUT_IMAGE;
}

// `page`'s pixels in `box`, inset by kFrameInset, with the lines of `read`
// painted over in white; null without memory.
ScopedPix Unread(PIX* page, const BOX& box, const std::vector<TextLine>& read) {
  ScopedBox inner(boxCreate(box.x + kFrameInset, box.y + kFrameInset, box.w - 2 * kFrameInset,
                            box.h - 2 * kFrameInset));
  ScopedPix part(inner ? pixClipRectangle(page, inner.get(), nullptr) : nullptr);
  if (part == nullptr) {
    return nullptr;
  }
  l_uint32 white = pixGetDepth(part.get()) == 1 ? 0 : 255;
  for (const TextLine& line : read) {
    ScopedBox painted(boxCreate(line.left - inner->x - 1, line.top - inner->y - 1,
                                line.right - line.left + 2, line.bottom - line.top + 2));
    if (painted != nullptr) {
      pixSetInRectArbitrary(part.get(), painted.get(), white);
    }
  }
  return part;
}

}  // namespace

PictureBlocks FindPictureBlocks(tesseract::TessBaseAPI* recognizer) {
  PictureBlocks pictures;
  PIX* page = recognizer->GetInputImage();
  // A screen's page, as for its small text.
  if (page == nullptr || l_int64{pixGetWidth(page)} * pixGetHeight(page) > kLargestScreenPixels) {
    return pictures;
  }
  std::unique_ptr<tesseract::ResultIterator> block(recognizer->GetIterator());
  if (block == nullptr) {
    return pictures;
  }
  do {
    l_int32 left = 0, top = 0, right = 0, bottom = 0;
    if (!IsPicture(block->BlockType()) ||
        !block->BoundingBox(tesseract::RIL_BLOCK, &left, &top, &right, &bottom) ||
        std::min(right - left, bottom - top) < kMinInnerSize + 2 * kFrameInset) {
      continue;
    }
    if (pictures.boxes.size() == kMaxBlocks) {
      pictures.boxes.clear();
      return pictures;
    }
    ScopedBox box(boxCreate(left, top, right - left, bottom - top));
    if (box == nullptr) {
      pictures.boxes.clear();
      return pictures;
    }
    pictures.boxes.push_back(std::move(box));
  } while (block->Next(tesseract::RIL_BLOCK));
  if (!pictures.boxes.empty()) {
    pictures.page.reset(pixClone(page));
  }
  return pictures;
}

void ReadPictureBlocks(tesseract::TessBaseAPI* recognizer,
                       const PictureBlocks& pictures,
                       uint32_t resolution,
                       tesseract::ETEXT_DESC* monitor,
                       std::vector<TextLine>* read) {
  if (pictures.page == nullptr) {
    return;
  }
  int next_block = NextBlock(*read);
  std::vector<TextLine> found;
  for (const ScopedBox& box : pictures.boxes) {
    ScopedPix unread = Unread(pictures.page.get(), *box, *read);
    if (unread == nullptr) {
      continue;
    }
    recognizer->SetPageSegMode(tesseract::PSM_AUTO);
    recognizer->SetImage(unread.get());
    recognizer->SetSourceResolution(static_cast<int>(resolution));
    if (recognizer->Recognize(monitor) != 0) {
      return;
    }
    std::unique_ptr<tesseract::ResultIterator> line(recognizer->GetIterator());
    if (line == nullptr) {
      continue;
    }
    int block = next_block - 1;
    do {
      block += line->IsAtBeginningOf(tesseract::RIL_BLOCK);
      std::optional<TextLine> sure = SureLine(*line, kMinConfidence);
      if (!sure) {
        continue;
      }
      sure->block = block;
      sure->left += box->x + kFrameInset;
      sure->right += box->x + kFrameInset;
      sure->top += box->y + kFrameInset;
      sure->bottom += box->y + kFrameInset;
      found.push_back(std::move(*sure));
    } while (line->Next(tesseract::RIL_TEXTLINE));
    next_block = block + 1;
  }
  read->insert(read->end(), std::make_move_iterator(found.begin()),
               std::make_move_iterator(found.end()));
}

}  // namespace winrt_layer
