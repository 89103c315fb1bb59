#include "platform/winrt/recognition/filled_shapes.h"

#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>
#include <optional>

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
// A shape found on the page before it is read is solid: a disc fills 0.79
// of its box, and its edge, blended with the ground, is dark to half of
// it. The page's ink is what is darker than this; its ground, lighter than
// the second all around it (a disc in a disc, as an album's art, is left).
constexpr float kMinSolidShare = 0.7f;
// An avatar or an icon is at most this many characters high; a larger
// solid area is a panel or a picture's.
constexpr float kMaxSolidShapeHeights = 8;
constexpr l_int32 kDarkGray = 128;
constexpr l_int32 kLightGray = 192;
// The ground around it, this many pixels wide, is at most this share ink.
constexpr l_int32 kRingWidth = 2;
constexpr float kMaxGroundShare = 0.25f;
// A control beside a row's text, a switch or a radio button, is taller
// than the words by about half again at the least (a desktop's 18 pixels
// beside 13).
constexpr float kMinControlHeights = 1.4f;
constexpr float kMaxControlHeights = 4.0f;
// A switch is a pill about twice as wide as high (iOS's 51 x 31,
// Material's 52 x 32, Windows' 40 x 20); a radio button is round.
constexpr float kMinSwitchAspect = 1.5f;
constexpr float kMaxSwitchAspect = 2.5f;
constexpr float kMinRoundAspect = 0.9f;
constexpr float kMaxRoundAspect = 1.1f;
// Its outline with all it encloses fills a pill's share of the box (0.89
// at 2:1), or a disc's (0.79): no letter but an "O" does. Its knob, or the
// inside of an outlined one, is one hole of a large share of the box (a
// knob 0.6 of its height fills a seventh of a 2:1 pill), and there is
// next to no other hole: the letters cut out of a chip or a button of that
// shape leave holes besides their largest.
constexpr float kMinSwitchOutlineShare = 0.8f;
constexpr float kMinRoundOutlineShare = 0.72f;
constexpr float kMinKnobShare = 0.1f;
constexpr float kMaxOtherHolesShare = 0.01f;

int Height(const WordBox& box) {
  return box.bottom - box.top;
}

int Width(const WordBox& box) {
  return box.right - box.left;
}

// Whether `box` has an avatar's or an icon's size and shape beside text
// `text_height` high.
bool ShapeSized(const WordBox& box, float text_height) {
  float height = static_cast<float>(Height(box));
  float width = static_cast<float>(Width(box));
  return height >= kMinShapeHeights * text_height && width <= kMaxShapeAspect * height &&
         height <= kMaxShapeAspect * width;
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

float Area(const WordBox& box) {
  return static_cast<float>(Width(box)) * static_cast<float>(Height(box));
}

// Whether the ground around `box` of `ink`, which holds `inside` of it, has
// little ink. Text read the other way, light on a dark ground, is mostly
// ink, and so is the ground around it.
bool StandsOnClearGround(PIX* ink, const WordBox& box, l_int32 inside) {
  l_int32 around = CountInk(ink, box.left - kRingWidth, box.top - kRingWidth,
                            box.right + kRingWidth, box.bottom + kRingWidth);
  float ring_area = static_cast<float>(Width(box) + 2 * kRingWidth) *
                        static_cast<float>(Height(box) + 2 * kRingWidth) -
                    Area(box);
  return inside >= 0 && around >= inside &&
         static_cast<float>(around - inside) <= kMaxGroundShare * ring_area;
}

// Whether `box` of `ink` holds a shape: mostly ink, on a clear ground.
bool HoldsFilledShape(PIX* ink, const WordBox& box) {
  l_int32 inside = CountInk(ink, box.left, box.top, box.right, box.bottom);
  return static_cast<float>(inside) >= kMinFilledShare * Area(box) &&
         StandsOnClearGround(ink, box, inside);
}

// Whether `box` of `ink` holds a solid shape: its ink fills it, with next
// to no hole (an avatar's initials, an icon's glyph are holes).
bool HoldsSolidShape(PIX* ink, const WordBox& box) {
  BOX area = Rectangle(box.left, box.top, Width(box), Height(box));
  ScopedPix part(pixClipRectangle(ink, &area, nullptr));
  ScopedPix holes(part ? pixHolesByFilling(part.get(), 4) : nullptr);
  l_int32 inside = 0;
  l_int32 enclosed = 0;
  if (holes == nullptr || pixCountPixels(part.get(), &inside, nullptr) != 0 ||
      pixCountPixels(holes.get(), &enclosed, nullptr) != 0) {
    return false;
  }
  return static_cast<float>(inside) >= kMinSolidShare * Area(box) &&
         static_cast<float>(enclosed) <= kMaxOtherHolesShare * Area(box);
}

// Whether `box` of `ink` holds a control: an outline with one large hole
// and no other, on a clear ground. A round one, unlike an "O", holds a dot:
// a radio button that is off is not told from the letter.
bool HoldsControl(PIX* ink, const WordBox& box, bool round) {
  BOX area = Rectangle(box.left, box.top, Width(box), Height(box));
  ScopedPix part(pixClipRectangle(ink, &area, nullptr));
  ScopedPix holes(part ? pixHolesByFilling(part.get(), 4) : nullptr);
  ScopedPix knobs(holes ? pixSelectByArea(holes.get(),
                                          static_cast<l_int32>(kMinKnobShare * Area(box)), 4,
                                          L_SELECT_IF_GTE, nullptr)
                        : nullptr);
  l_int32 inside = 0;
  l_int32 enclosed = 0;
  l_int32 knob = 0;
  l_int32 knob_count = 0;
  l_int32 pieces = 0;
  if (knobs == nullptr || pixCountPixels(part.get(), &inside, nullptr) != 0 ||
      pixCountPixels(holes.get(), &enclosed, nullptr) != 0 ||
      pixCountPixels(knobs.get(), &knob, nullptr) != 0 ||
      pixCountConnComp(knobs.get(), 4, &knob_count) != 0 ||
      pixCountConnComp(part.get(), 8, &pieces) != 0) {
    return false;
  }
  float min_outline_share = round ? kMinRoundOutlineShare : kMinSwitchOutlineShare;
  return static_cast<float>(inside + enclosed) >= min_outline_share * Area(box) &&
         knob_count == 1 &&
         static_cast<float>(enclosed - knob) <= kMaxOtherHolesShare * Area(box) &&
         (!round || pieces > 1) && StandsOnClearGround(ink, box, inside);
}

// The largest component of `ink` that holds the middle of `box` and lies
// whole within `reach_x` and `reach_y` pixels around it; none when there is
// none.
std::optional<WordBox> ComponentUnder(PIX* ink, const WordBox& box, int reach_x, int reach_y) {
  WordBox around{std::max(box.left - reach_x, 0), std::max(box.top - reach_y, 0),
                 std::min(box.right + reach_x, pixGetWidth(ink)),
                 std::min(box.bottom + reach_y, pixGetHeight(ink))};
  BOX area = Rectangle(around.left, around.top, Width(around), Height(around));
  ScopedPix part(pixClipRectangle(ink, &area, nullptr));
  BOXA* components = part ? pixConnComp(part.get(), nullptr, 8) : nullptr;
  if (components == nullptr) {
    return std::nullopt;
  }
  std::optional<WordBox> found;
  for (l_int32 i = 0; i < boxaGetCount(components); ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    boxaGetBoxGeometry(components, i, &x, &y, &width, &height);
    WordBox component{around.left + x, around.top + y, around.left + x + width,
                      around.top + y + height};
    bool whole = x > 0 && y > 0 && x + width < Width(around) && y + height < Height(around);
    if (whole && HoldsMiddleOf(component, box) && (!found || Area(component) > Area(*found))) {
      found = component;
    }
  }
  boxaDestroy(&components);
  return found;
}

// The control in `ink` under the middle of `word`, if any. Tesseract reads
// a switch as one word ("©") or cuts it into two ("t @)"), with boxes that
// can stand out of it: the control is the component under the word, as
// far as a switch of its height can reach past it.
std::optional<WordBox> ControlUnder(PIX* ink, const WordBox& word, int text_height) {
  std::optional<WordBox> found = ComponentUnder(
      ink, word, static_cast<int>(kMaxSwitchAspect * static_cast<float>(Height(word))),
      Height(word) / 2);
  return found && IsControl(ink, *found, text_height) ? found : std::nullopt;
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
  std::vector<WordBox> controls;
  for (const WordBox& box : words) {
    float height = static_cast<float>(Height(box));
    bool shape_sized = ShapeSized(box, static_cast<float>(text_height));
    bool control_tall = height >= kMinControlHeights * static_cast<float>(text_height) &&
                        std::none_of(controls.begin(), controls.end(),
                                     [&box](const WordBox& at) { return HoldsMiddleOf(at, box); });
    if (!shape_sized && !control_tall) {
      continue;
    }
    if (ink == nullptr) {
      ink.reset(recognizer->GetThresholdedImage());
      if (ink == nullptr) {
        break;
      }
    }
    if (shape_sized && HoldsFilledShape(ink.get(), box)) {
      shapes.push_back(box);
    } else if (std::optional<WordBox> at =
                   control_tall ? ControlUnder(ink.get(), box, text_height) : std::nullopt) {
      controls.push_back(*at);
    }
  }
  for (const WordBox& box : words) {
    if (std::any_of(controls.begin(), controls.end(),
                    [&box](const WordBox& at) { return HoldsMiddleOf(at, box); })) {
      shapes.push_back(box);
    }
  }
  return shapes;
}

void EraseFilledShapes(PIX* gray, float character_height) {
  // A square as high as the characters fits in no stroke of text: what of
  // the ink it fits in is all that is looked at.
  l_int32 size = std::max(3, static_cast<l_int32>(character_height));
  ScopedPix ink(pixThresholdToBinary(gray, kDarkGray));
  ScopedPix solid(ink ? pixOpenCompBrick(nullptr, ink.get(), size, size) : nullptr);
  BOXA* found = solid ? pixConnCompBB(solid.get(), 8) : nullptr;
  if (found == nullptr) {
    return;
  }
  for (l_int32 i = 0; i < boxaGetCount(found); ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    boxaGetBoxGeometry(found, i, &x, &y, &width, &height);
    if (static_cast<float>(std::max(width, height)) > kMaxSolidShapeHeights * character_height) {
      continue;
    }
    std::optional<WordBox> shape =
        ComponentUnder(ink.get(), WordBox{x, y, x + width, y + height}, size, size);
    if (!shape || !ShapeSized(*shape, character_height) || !HoldsSolidShape(ink.get(), *shape)) {
      continue;
    }
    // Its ground is light all around it, and it is painted with the
    // lightest gray there, over its blended edge too.
    BOX around = Rectangle(shape->left - kRingWidth, shape->top - kRingWidth,
                           Width(*shape) + 2 * kRingWidth, Height(*shape) + 2 * kRingWidth);
    l_int32 left = std::max(around.x, 0);
    l_int32 top = std::max(around.y, 0);
    ScopedPix ground_part(pixClipRectangle(gray, &around, nullptr));
    ScopedPix not_light(ground_part ? pixThresholdToBinary(ground_part.get(), kLightGray)
                                    : nullptr);
    ScopedPix ink_part(pixClipRectangle(ink.get(), &around, nullptr));
    ScopedPix mask(
        ink_part ? pixDilateBrick(nullptr, ink_part.get(), 2 * kRingWidth + 1, 2 * kRingWidth + 1)
                 : nullptr);
    WordBox local{shape->left - left, shape->top - top, shape->right - left, shape->bottom - top};
    l_uint32 ground = 0;
    if (not_light != nullptr && mask != nullptr &&
        StandsOnClearGround(
            not_light.get(), local,
            CountInk(not_light.get(), local.left, local.top, local.right, local.bottom)) &&
        pixGetMaxValueInRect(gray, &around, &ground, nullptr, nullptr) == 0) {
      pixPaintThroughMask(gray, mask.get(), left, top, ground);
    }
  }
  boxaDestroy(&found);
}

bool IsControl(PIX* ink, const WordBox& box, int text_height) {
  float height = static_cast<float>(Height(box));
  float width = static_cast<float>(Width(box));
  if (height < kMinControlHeights * static_cast<float>(text_height) ||
      height > kMaxControlHeights * static_cast<float>(text_height)) {
    return false;
  }
  bool pill = width >= kMinSwitchAspect * height && width <= kMaxSwitchAspect * height;
  bool round = width >= kMinRoundAspect * height && width <= kMaxRoundAspect * height;
  return (pill || round) && HoldsControl(ink, box, round);
}

bool HoldsMiddleOf(const WordBox& outer, const WordBox& word) {
  int x = (word.left + word.right) / 2;
  int y = (word.top + word.bottom) / 2;
  return x >= outer.left && x < outer.right && y >= outer.top && y < outer.bottom;
}

bool IsFilledShape(const std::vector<WordBox>& shapes, const WordBox& word) {
  return std::any_of(shapes.begin(), shapes.end(), [&word](const WordBox& shape) {
    return shape.left == word.left && shape.top == word.top && shape.right == word.right &&
           shape.bottom == word.bottom;
  });
}

}  // namespace winrt_layer
