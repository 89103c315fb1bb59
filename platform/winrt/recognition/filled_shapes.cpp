#include "platform/winrt/recognition/filled_shapes.h"

#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {
namespace {

// A shape this many times as tall as the words is none of them.
constexpr int kMinShapeHeights = 2;
// Round or square: a rule, a bar or a button is longer than this many
// heights, and is left to Tesseract's layout analysis.
constexpr float kMaxShapeAspect = 1.5f;
// A disc fills 0.79 of its box, a rounded square more, and a disc beside a
// letter Tesseract took in with it (as "eo") about two thirds; the boldest
// letters about half of theirs.
constexpr float kMinFilledShare = 0.6f;
// The ground around it, this many pixels wide, is at most this share ink.
constexpr l_int32 kRingWidth = 2;
constexpr float kMaxGroundShare = 0.25f;

int Height(const WordBox& box) {
  return box.bottom - box.top;
}

int Width(const WordBox& box) {
  return box.right - box.left;
}

// The ink of `ink` inside the box, clipped to `ink`; -1 on failure.
l_int32 CountInk(PIX* ink, l_int32 left, l_int32 top, l_int32 right, l_int32 bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, pixGetWidth(ink));
  bottom = std::min(bottom, pixGetHeight(ink));
  ScopedBox area(right > left && bottom > top ? boxCreate(left, top, right - left, bottom - top)
                                              : nullptr);
  l_int32 count = 0;
  if (area == nullptr || pixCountPixelsInRect(ink, area.get(), &count, nullptr) != 0) {
    return -1;
  }
  return count;
}

// Whether `box` of `ink` holds a shape: mostly ink, on a ground with little
// of it. Text read the other way, light on a dark ground, is mostly ink
// too, and so is the ground around it.
bool HoldsFilledShape(PIX* ink, const WordBox& box) {
  l_int32 inside = CountInk(ink, box.left, box.top, box.right, box.bottom);
  l_int32 around = CountInk(ink, box.left - kRingWidth, box.top - kRingWidth,
                            box.right + kRingWidth, box.bottom + kRingWidth);
  float area = static_cast<float>(Width(box)) * static_cast<float>(Height(box));
  float ring_area = static_cast<float>(Width(box) + 2 * kRingWidth) *
                        static_cast<float>(Height(box) + 2 * kRingWidth) -
                    area;
  return inside >= 0 && around >= inside && static_cast<float>(inside) >= kMinFilledShare * area &&
         static_cast<float>(around - inside) <= kMaxGroundShare * ring_area;
}

}  // namespace

std::vector<WordBox> FindFilledShapes(tesseract::TessBaseAPI* recognizer) {
  std::vector<WordBox> words;
  std::unique_ptr<tesseract::ResultIterator> word(recognizer->GetIterator());
  if (word == nullptr) {
    return words;
  }
  do {
    WordBox box;
    if (word->BoundingBox(tesseract::RIL_WORD, &box.left, &box.top, &box.right, &box.bottom) &&
        Height(box) > 0 && Width(box) > 0) {
      words.push_back(box);
    }
  } while (word->PageIterator::Next(tesseract::RIL_WORD));
  if (words.empty()) {
    return words;
  }
  std::vector<int> heights;
  for (const WordBox& box : words) {
    heights.push_back(Height(box));
  }
  std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
  int text_height = heights[heights.size() / 2];
  ScopedPix ink;
  std::vector<WordBox> shapes;
  for (const WordBox& box : words) {
    float height = static_cast<float>(Height(box));
    float width = static_cast<float>(Width(box));
    if (Height(box) < kMinShapeHeights * text_height || width > kMaxShapeAspect * height ||
        height > kMaxShapeAspect * width) {
      continue;
    }
    if (ink == nullptr) {
      ink.reset(recognizer->GetThresholdedImage());
      if (ink == nullptr) {
        break;
      }
    }
    if (HoldsFilledShape(ink.get(), box)) {
      shapes.push_back(box);
    }
  }
  return shapes;
}

bool IsFilledShape(const std::vector<WordBox>& shapes, const WordBox& word) {
  return std::any_of(shapes.begin(), shapes.end(), [&word](const WordBox& shape) {
    return shape.left == word.left && shape.top == word.top && shape.right == word.right &&
           shape.bottom == word.bottom;
  });
}

}  // namespace winrt_layer
