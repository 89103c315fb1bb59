#include "platform/winrt/recognition/small_text.h"

#include <algorithm>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/line_sheet.h"
#include "platform/winrt/recognition/screen_size.h"

namespace winrt_layer {
namespace {

// Marks this high or lower, and at most twice as wide, may be characters
// Tesseract cannot read at their size: its lines of 12-pixel UI text come
// out whole, those of 9-pixel text garbled or not at all.
constexpr l_int32 kMaxSmallHeight = 9;
// Characters of a line stand closer than this, words included; marks of
// one character (an i's dot) stand above one another within a few pixels.
constexpr l_int32 kCharacterGap = 9;
constexpr l_int32 kCharacterRise = 3;
// A line of small text is this high at least (a rule or a dotted line is
// lower), and at least twice as wide as high: two characters.
constexpr l_int32 kMinLineHeight = 5;
constexpr l_int32 kMaxLineHeight = kMaxSmallHeight + kCharacterRise;
// Tesseract reads such lines best this many times larger, with this much
// of the page around each.
constexpr l_int32 kEnlargement = 3;
constexpr l_int32 kPadding = 3;
// A page of more small lines than this is small print Tesseract reads at its
// size; icons and the odd unread mark make fewer.
constexpr size_t kMaxLines = 48;
// A line read enlarged less surely than this is an icon or a picture's
// detail; one read at its size less surely than the other is read again.
constexpr float kMinConfidence = 70;
constexpr float kSureConfidence = 85;

// Whether Tesseract read `line` as small text, and not surely: read
// enlarged, it may come out better.
bool IsUnsureSmallLine(const TextLine& line) {
  return line.bottom - line.top <= kMaxLineHeight && line.confidence < kSureConfidence;
}

// Whether `line`, read enlarged, is all of `old`: the same row, from its
// first character to its last. The larger letters of a line of larger
// text fall outside the small marks.
bool ReadsAllOf(const TextLine& line, const TextLine& old) {
  return line.top < old.bottom && old.top < line.bottom && line.left <= old.left + kPadding &&
         line.right >= old.right - kPadding;
}

// The boxes, in the page's pixels and with some of the page around them,
// of the lines of small marks in `thresholded` (Tesseract's binarized page,
// 1 for ink) that no line of `read` holds but an unsure one; empty without
// memory and on a page of small print.
std::vector<BOX> FindSmallLines(PIX* thresholded, const std::vector<TextLine>& read) {
  std::vector<BOX> lines;
  ScopedPix unread(pixCopy(nullptr, thresholded));
  if (unread == nullptr) {
    return lines;
  }
  for (const TextLine& line : read) {
    if (!IsUnsureSmallLine(line)) {
      BOX box = Rectangle(line.left - 1, line.top - 1, line.right - line.left + 2,
                          line.bottom - line.top + 2);
      pixClearInRect(unread.get(), &box);
    }
  }
  ScopedPix small(pixSelectBySize(unread.get(), 2 * kMaxSmallHeight, kMaxSmallHeight, 8,
                                  L_SELECT_IF_BOTH, L_SELECT_IF_LTE, nullptr));
  ScopedPix large(small ? pixSubtract(nullptr, unread.get(), small.get()) : nullptr);
  ScopedPix joined(large ? pixCloseBrick(nullptr, small.get(), kCharacterGap, kCharacterRise)
                         : nullptr);
  BOXA* boxes = joined ? pixConnCompBB(joined.get(), 8) : nullptr;
  if (boxes == nullptr) {
    return lines;
  }
  l_int32 count = boxaGetCount(boxes);
  for (l_int32 i = 0; i < count; ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    boxaGetBoxGeometry(boxes, i, &x, &y, &width, &height);
    if (height < kMinLineHeight || height > kMaxLineHeight || width < 2 * height) {
      continue;
    }
    // The small letters of a line of larger text Tesseract did not read
    // (a word without ascenders) stand beside larger marks.
    BOX beside = Rectangle(x - kCharacterGap, y, width + 2 * kCharacterGap, height);
    l_int32 larger = 0;
    if (pixCountPixelsInRect(large.get(), &beside, &larger, nullptr) != 0 || larger > 0) {
      continue;
    }
    // Light text on a dark ground Tesseract left as it is thresholds to
    // ink around the letters' counters, which are no text of their own.
    BOX padded = Rectangle(x - kPadding, y - kPadding, width + 2 * kPadding, height + 2 * kPadding);
    l_int32 ink = 0;
    if (pixCountPixelsInRect(thresholded, &padded, &ink, nullptr) == 0 &&
        ink * 2 < padded.w * padded.h) {
      lines.push_back(padded);
    }
  }
  boxaDestroy(&boxes);
  if (lines.size() > kMaxLines) {
    lines.clear();
  }
  return lines;
}

}  // namespace

void ReadSmallText(tesseract::TessBaseAPI* recognizer,
                   PIX* thresholded,
                   uint32_t resolution,
                   tesseract::ETEXT_DESC* monitor,
                   std::vector<TextLine>* read) {
  PIX* page = recognizer->GetInputImage();
  if (!IsScreenPage(page) || thresholded == nullptr) {
    return;
  }
  std::vector<BOX> boxes = FindSmallLines(thresholded, *read);
  if (boxes.empty()) {
    return;
  }
  int next_block = read->empty() ? 0 : read->back().block + 1;
  for (TextLine& line :
       ReadOnSheet(recognizer, page, boxes, kEnlargement, kMinConfidence, resolution, monitor)) {
    // It stands instead of the unsure line it reads again, if it is surer,
    // or else in the block of the line above it, after that line: a
    // timestamp below its chat bubble, a caption below its title.
    auto overlaps = [&line](const TextLine& old) { return Overlap(line, old); };
    if (std::any_of(read->begin(), read->end(), [&](const TextLine& old) {
          return overlaps(old) && !(IsUnsureSmallLine(old) && ReadsAllOf(line, old));
        })) {
      continue;
    }
    auto replaced = std::find_if(read->begin(), read->end(), overlaps);
    if (replaced != read->end()) {
      if (replaced->confidence < line.confidence) {
        line.block = replaced->block;
        *replaced = std::move(line);
      }
      continue;
    }
    auto above = read->end();
    for (auto candidate = read->begin(); candidate != read->end(); ++candidate) {
      bool stands_above = candidate->bottom <= line.top + kPadding &&
                          candidate->left < line.right && line.left < candidate->right;
      if (stands_above && (above == read->end() || candidate->bottom > above->bottom)) {
        above = candidate;
      }
    }
    line.block = above != read->end() ? above->block : next_block++;
    read->insert(above != read->end() ? above + 1 : read->end(), std::move(line));
  }
}

}  // namespace winrt_layer
