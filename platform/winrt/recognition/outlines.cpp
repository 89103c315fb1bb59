#include "platform/winrt/recognition/outlines.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace winrt_layer {
namespace {

// An outline is at least this many character heights tall and wide (a
// button around a short label), and at least twice as wide as tall: a
// large letter, as the ring of an "O", is no wider than tall.
constexpr float kMinHeights = 1.5f;
constexpr float kMinWidths = 3;
constexpr l_int32 kMinAspect = 2;
// Its line fills at most this share of its box; a letter that large, as a
// heading's, fills more.
constexpr float kMaxFilledShare = 0.2f;
// Its top and bottom rows, this many deep, hold ink along at least this
// share of its width: rounded ends take the rest, as much as half of a
// short chip's.
constexpr l_int32 kEdgeRows = 3;
constexpr float kMinEdgeShare = 0.4f;
// The outline's smoothed edge lies this far beyond what is taken for ink.
constexpr l_int32 kEdgeWidth = 1;
// Ink is what is this much darker than the light ground, the page's
// lightest tenth (a dialog's white over a dimmed app): a chip's light grey
// outline, which Tesseract reads as brackets, is ink.
constexpr l_float32 kLightGroundRank = 0.9f;
constexpr l_int32 kInkContrast = 32;
// Every fourth pixel of every fourth row tells the light ground.
constexpr l_int32 kGroundSampling = 4;
// The boxes of the components large enough to be outlines cover at most
// this many times the page: a screen's outlines stand apart, and each is
// looked at in a copy of its box, where nested ones (an image of hundreds
// of rings) would cost as many copies of the page.
constexpr int64_t kMaxCover = 4;

// Whether the kEdgeRows rows of `component` from `top` hold ink along
// kMinEdgeShare of its width.
bool RunsAcross(PIX* component, l_int32 top) {
  ScopedBox rows(boxCreate(0, top, pixGetWidth(component), kEdgeRows));
  l_int32 count = 0;
  return rows != nullptr && pixCountPixelsInRect(component, rows.get(), &count, nullptr) == 0 &&
         static_cast<float>(count) >= kMinEdgeShare * static_cast<float>(pixGetWidth(component));
}

// Whether `component` has no ink in the box from (`left`, `top`) to
// (`right`, `bottom`).
bool IsClear(PIX* component, l_int32 left, l_int32 top, l_int32 right, l_int32 bottom) {
  ScopedBox area(boxCreate(left, top, right - left, bottom - top));
  l_int32 count = 0;
  return area != nullptr && pixCountPixelsInRect(component, area.get(), &count, nullptr) == 0 &&
         count == 0;
}

// Whether `component`, a connected component of ink alone in its box, is an
// outline: a thin line along its top and bottom, and nothing across its
// middle. A table's grid has its rules across it: read without them, its
// cells come out column by column.
bool IsOutline(PIX* component) {
  l_int32 width = pixGetWidth(component);
  l_int32 height = pixGetHeight(component);
  l_int32 margin = 2 * kEdgeRows;
  l_int32 count = 0;
  return height > 2 * margin && width >= kMinAspect * height &&
         pixCountPixels(component, &count, nullptr) == 0 &&
         static_cast<float>(count) <=
             kMaxFilledShare * static_cast<float>(width) * static_cast<float>(height) &&
         RunsAcross(component, 0) && RunsAcross(component, height - kEdgeRows) &&
         IsClear(component, margin, height / 2, width - margin, height / 2 + 1) &&
         IsClear(component, width / 2, margin, width / 2 + 1, height - margin);
}

// The connected component of `part` that spans all of it; null when none
// does, or without memory.
ScopedPix SpanningComponent(PIX* part) {
  PIXA* components = nullptr;
  BOXA* boxes = pixConnComp(part, &components, 8);
  boxaDestroy(&boxes);
  if (components == nullptr) {
    return nullptr;
  }
  ScopedPix spanning;
  for (l_int32 i = 0; i < pixaGetCount(components) && spanning == nullptr; ++i) {
    ScopedPix component(pixaGetPix(components, i, L_CLONE));
    if (component != nullptr && pixGetWidth(component.get()) == pixGetWidth(part) &&
        pixGetHeight(component.get()) == pixGetHeight(part)) {
      spanning = std::move(component);
    }
  }
  pixaDestroy(&components);
  return spanning;
}

// Paints `component`, at `box` in `gray`, with the median gray of its box.
void PaintOver(PIX* gray, PIX* component, BOX* box) {
  ScopedPix inside(pixClipRectangle(gray, box, nullptr));
  ScopedPix mask(pixDilateBrick(nullptr, component, 2 * kEdgeWidth + 1, 2 * kEdgeWidth + 1));
  l_float32 median = 0;
  if (inside == nullptr || mask == nullptr ||
      pixGetRankValueMasked(inside.get(), nullptr, 0, 0, 1, 0.5f, &median, nullptr) != 0) {
    return;
  }
  l_int32 x = 0, y = 0;
  boxGetGeometry(box, &x, &y, nullptr, nullptr);
  pixPaintThroughMask(gray, mask.get(), x, y, static_cast<l_uint32>(median));
}

}  // namespace

void EraseOutlines(PIX* gray, float character_height) {
  l_float32 light_ground = 0;
  if (character_height <= 0 ||
      pixGetRankValueMasked(gray, nullptr, 0, 0, kGroundSampling, kLightGroundRank, &light_ground,
                            nullptr) != 0) {
    return;
  }
  ScopedPix ink(pixThresholdToBinary(gray, static_cast<l_int32>(light_ground) - kInkContrast));
  BOXA* boxes = ink ? pixConnCompBB(ink.get(), 8) : nullptr;
  if (boxes == nullptr) {
    return;
  }
  std::vector<ScopedBox> candidates;
  int64_t cover = 0;
  l_int32 count = boxaGetCount(boxes);
  for (l_int32 i = 0; i < count; ++i) {
    l_int32 width = 0, height = 0;
    boxaGetBoxGeometry(boxes, i, nullptr, nullptr, &width, &height);
    if (static_cast<float>(height) >= kMinHeights * character_height &&
        static_cast<float>(width) >= kMinWidths * character_height &&
        width >= kMinAspect * height) {
      candidates.emplace_back(boxaGetBox(boxes, i, L_COPY));
      cover += int64_t{width} * height;
    }
  }
  boxaDestroy(&boxes);
  if (cover > kMaxCover * int64_t{pixGetWidth(gray)} * pixGetHeight(gray)) {
    return;
  }
  for (const ScopedBox& box : candidates) {
    ScopedPix part(box ? pixClipRectangle(ink.get(), box.get(), nullptr) : nullptr);
    ScopedPix component = part ? SpanningComponent(part.get()) : nullptr;
    if (component != nullptr && IsOutline(component.get())) {
      PaintOver(gray, component.get(), box.get());
    }
  }
}

}  // namespace winrt_layer
