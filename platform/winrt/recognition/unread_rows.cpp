#include "platform/winrt/recognition/unread_rows.h"

#include <algorithm>
#include <utility>

#include "platform/winrt/recognition/filled_shapes.h"
#include "platform/winrt/recognition/line_sheet.h"
#include "platform/winrt/recognition/screen_size.h"

namespace winrt_layer {
namespace {

// Rows lower than this are small text's, read enlarged.
constexpr l_int32 kMinRowHeight = 10;
// A row of text is at most this many times the height of the page's lines.
constexpr l_int32 kMaxRowLineHeights = 2;
// A row of text is at least this many times as wide as it is high: two
// characters ("On", "Off").
constexpr float kMinRowWidthHeights = 1.5f;
// The rows are read with this much of the page around them.
constexpr l_int32 kPadding = 3;
// A screen's layout leaves out a few rows; more are the detail of pictures.
constexpr size_t kMaxRows = 8;
// A row read less surely than this is an icon or a picture's detail.
constexpr float kMinConfidence = 80;

// The median height of `read`'s lines; 0 when there are none.
l_int32 MedianLineHeight(const std::vector<TextLine>& read) {
  std::vector<l_int32> heights;
  for (const TextLine& line : read) {
    heights.push_back(line.bottom - line.top);
  }
  if (heights.empty()) {
    return 0;
  }
  std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
  return heights[heights.size() / 2];
}

}  // namespace

UnreadRows FindUnreadRows(PIX* page, PIX* thresholded, const std::vector<TextLine>& read) {
  UnreadRows rows;
  l_int32 line_height = MedianLineHeight(read);
  if (!IsScreenPage(page) || thresholded == nullptr || line_height < kMinRowHeight) {
    return rows;
  }
  ScopedPix unread(pixCopy(nullptr, thresholded));
  if (unread == nullptr) {
    return rows;
  }
  for (const TextLine& line : read) {
    BOX box =
        Rectangle(line.left - kPadding, line.top - kPadding, line.right - line.left + 2 * kPadding,
                  line.bottom - line.top + 2 * kPadding);
    pixClearInRect(unread.get(), &box);
  }
  // A control beside a row's text would be read with it ("Off @_)").
  BOXA* marks = pixConnCompBB(unread.get(), 8);
  if (marks == nullptr) {
    return rows;
  }
  for (l_int32 i = 0; i < boxaGetCount(marks); ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    boxaGetBoxGeometry(marks, i, &x, &y, &width, &height);
    BOX mark = Rectangle(x, y, width, height);
    if (IsControl(thresholded, WordBox{x, y, x + width, y + height}, line_height)) {
      pixClearInRect(unread.get(), &mark);
    }
  }
  boxaDestroy(&marks);
  // A row of text with a larger mark beside it (an icon, a picture) joins
  // it, and is too high.
  l_int32 max_height = kMaxRowLineHeights * line_height;
  ScopedPix joined(pixCloseBrick(nullptr, unread.get(), line_height, 3));
  BOXA* found = joined ? pixConnCompBB(joined.get(), 8) : nullptr;
  if (found == nullptr) {
    return rows;
  }
  l_int32 count = boxaGetCount(found);
  for (l_int32 i = 0; i < count; ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    boxaGetBoxGeometry(found, i, &x, &y, &width, &height);
    if (height < kMinRowHeight || height > max_height ||
        static_cast<float>(width) < kMinRowWidthHeights * static_cast<float>(height)) {
      continue;
    }
    BOX padded = Rectangle(x - kPadding, y - kPadding, width + 2 * kPadding, height + 2 * kPadding);
    l_int32 ink = 0;
    if (pixCountPixelsInRect(thresholded, &padded, &ink, nullptr) == 0 &&
        ink * 2 < padded.w * padded.h) {
      rows.boxes.push_back(padded);
    }
  }
  boxaDestroy(&found);
  if (rows.boxes.size() > kMaxRows) {
    rows.boxes.clear();
  }
  if (!rows.boxes.empty()) {
    rows.page.reset(pixClone(page));
  }
  return rows;
}

void ReadUnreadRows(tesseract::TessBaseAPI* recognizer,
                    const UnreadRows& rows,
                    uint32_t resolution,
                    tesseract::ETEXT_DESC* monitor,
                    std::vector<TextLine>* read) {
  if (rows.page == nullptr) {
    return;
  }
  int next_block = NextBlock(*read);
  std::vector<TextLine> found =
      ReadOnSheet(recognizer, rows.page.get(), rows.boxes, 1, kMinConfidence, resolution, monitor);
  // Small text and pictures read since may hold a row.
  size_t page_lines = read->size();
  for (TextLine& line : found) {
    if (std::none_of(read->begin(), read->begin() + page_lines,
                     [&line](const TextLine& old) { return Overlap(line, old); })) {
      line.block = next_block++;
      read->push_back(std::move(line));
    }
  }
}

}  // namespace winrt_layer
