#include "platform/winrt/recognition/line_sheet.h"

#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/sure_line.h"

namespace winrt_layer {
namespace {

// Parts stand this far apart on the sheet, and from its edges: Tesseract
// takes each for a line of its own.
constexpr l_int32 kSpacing = 24;
// A sheet holds at most this many pixels: within the memory a recognition
// has, beside Tesseract's reading of the page.
constexpr l_int64 kMaxSheetPixels = 4'000'000;

}  // namespace

std::vector<TextLine> ReadOnSheet(tesseract::TessBaseAPI* recognizer,
                                  PIX* page,
                                  const std::vector<BOX>& boxes,
                                  l_int32 scale,
                                  float min_confidence,
                                  uint32_t resolution,
                                  tesseract::ETEXT_DESC* monitor) {
  std::vector<TextLine> read;
  // Each part stands at the top of a stretch of its own.
  l_int32 sheet_width = 0;
  l_int32 sheet_height = kSpacing;
  std::vector<l_int32> tops;
  for (const BOX& box : boxes) {
    l_int32 width = std::max(sheet_width, box.w * scale);
    l_int32 height = sheet_height + box.h * scale + kSpacing;
    if (l_int64{width + 2 * kSpacing} * height > kMaxSheetPixels) {
      break;
    }
    tops.push_back(sheet_height);
    sheet_width = width;
    sheet_height = height;
  }
  if (tops.empty()) {
    return read;
  }
  ScopedPix sheet(pixCreate(sheet_width + 2 * kSpacing, sheet_height, 8));
  if (sheet == nullptr) {
    return read;
  }
  pixSetAll(sheet.get());
  for (size_t i = 0; i < tops.size(); ++i) {
    ScopedPix part(pixClipRectangle(page, const_cast<BOX*>(&boxes[i]), nullptr));
    ScopedPix scaled(part && scale != 1 ? pixScale(part.get(), scale, scale) : nullptr);
    PIX* placed = scale == 1 ? part.get() : scaled.get();
    if (placed == nullptr) {
      return read;
    }
    pixRasterop(sheet.get(), kSpacing, tops[i], pixGetWidth(placed), pixGetHeight(placed), PIX_SRC,
                placed, 0, 0);
  }
  recognizer->SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
  recognizer->SetImage(sheet.get());
  recognizer->SetSourceResolution(static_cast<int>(resolution));
  if (recognizer->Recognize(monitor) != 0) {
    return read;
  }
  std::unique_ptr<tesseract::ResultIterator> line(recognizer->GetIterator());
  if (line == nullptr) {
    return read;
  }
  do {
    std::optional<TextLine> sure = SureLine(*line, min_confidence);
    if (!sure) {
      continue;
    }
    // The stretch of the sheet the line's middle falls in.
    size_t i =
        std::upper_bound(tops.begin(), tops.end(), (sure->top + sure->bottom) / 2) - tops.begin();
    if (i == 0) {
      continue;
    }
    const BOX& box = boxes[i - 1];
    read.push_back({std::move(sure->text), static_cast<int>(i - 1), box.x, box.y, box.x + box.w,
                    box.y + box.h, sure->confidence});
  } while (line->Next(tesseract::RIL_TEXTLINE));
  return read;
}

}  // namespace winrt_layer
