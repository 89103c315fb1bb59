#include "platform/winrt/recognition/light_text_regions.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/winrt/recognition/square_filter.h"

namespace winrt_layer {
namespace {

// The ground an area's text is written on is the area with strokes this
// wide or narrower taken out, light and dark alike (an opening, then a
// closing): the strokes of UI text, of a screen's headings and of the
// print of a photographed page are narrower.
constexpr l_int32 kStrokeFilterSize = 15;
// Areas of one ground smaller than this, in pixels of the analysis copy,
// are not looked at: the smallest chip holds a word.
constexpr l_int32 kMinRegionPixels = 400;
// A pixel this much lighter or darker than the median of its area is a
// text pixel: anti-aliasing and a photo's noise stay closer.
constexpr int kTextContrast = 48;
// An area is inverted when its light text pixels outnumber its dark ones
// this many times, and make at least this share of it and this many: a
// textured surface or a picture has both in about equal numbers, and the
// knob of a switch a few pixels of its rim. A dark screen's ground holds
// sparse text: a chat's title and timestamps make 0.3 %.
constexpr l_int32 kLightTextDominance = 3;
constexpr l_float32 kMinLightTextShare = 0.001f;
constexpr int64_t kMinLightTextPixels = 24;
// Most of an area is its ground. Where dense dark text is taken for a
// ground, the paper between its strokes would be taken for light text.
constexpr l_float32 kMinGroundShare = 0.6f;
// Grounds whose mean grays differ by less are one: a JPEG makes two of a
// dark page's one ground, 2 levels apart; a code editor's panes are 10.
constexpr l_int32 kMinGroundDifference = 6;
// The threshold that puts every gray on the darker side.
constexpr l_int32 kOneGround = 256;
// Light from around a region that reaches into it is left out of it, and
// what lies within this many pixels of that light: the strokes and
// counters of the text written on it.
constexpr l_int32 kAroundTextSize = 5;
// The edges of regions, this wide across, in the map of their grounds,
// whose inverted grays are at least kTextContrast.
constexpr l_int32 kEdgeSize = 5;
constexpr l_uint32 kEdge = 1;

// The images a region's polarity is told from: the image, and the image
// with its narrow light strokes and with its narrow dark strokes taken out.
struct Strokes {
  PIX* gray;
  PIX* without_light;
  PIX* without_dark;
};

// The median of the pixels of `gray` under `piece` (a mask at `x`, `y`).
int MedianUnder(PIX* gray, PIX* piece, l_int32 x, l_int32 y) {
  NUMA* histogram = pixGetGrayHistogramMasked(gray, piece, x, y, 1);
  if (histogram == nullptr) {
    return -1;
  }
  l_float32 total = 0;
  numaGetSum(histogram, &total);
  int median = 0;
  l_float32 below = 0;
  for (; median < 255; ++median) {
    l_float32 count = 0;
    numaGetFValue(histogram, median, &count);
    below += count;
    if (below >= total / 2) {
      break;
    }
  }
  numaDestroy(&histogram);
  return median;
}

// The ground of the region under `piece` (a mask at `x`, `y`), the median
// of its pixels, when it holds text lighter than that ground; -1 when not.
// A text pixel is a narrow stroke well off the ground: the gradient of a
// shadow's edge is no text, nor the ground within a letter.
int LightTextGround(const Strokes& strokes, PIX* piece, l_int32 x, l_int32 y) {
  int median = MedianUnder(strokes.gray, piece, x, y);
  if (median < 0) {
    return -1;
  }
  l_int32 width = pixGetWidth(piece);
  l_int32 height = pixGetHeight(piece);
  l_int32 words = pixGetWpl(strokes.gray);
  l_int32 piece_words = pixGetWpl(piece);
  int64_t light = 0;
  int64_t dark = 0;
  int64_t ground = 0;
  int64_t total = 0;
  for (l_int32 row = 0; row < height; ++row) {
    const l_uint32* mask = pixGetData(piece) + row * piece_words;
    l_int32 offset = (y + row) * words;
    const l_uint32* gray = pixGetData(strokes.gray) + offset;
    const l_uint32* without_light = pixGetData(strokes.without_light) + offset;
    const l_uint32* without_dark = pixGetData(strokes.without_dark) + offset;
    for (l_int32 column = 0; column < width; ++column) {
      if (!GET_DATA_BIT(mask, column)) {
        continue;
      }
      int value = GET_DATA_BYTE(gray, x + column);
      ++total;
      if (std::abs(value - median) <= kTextContrast) {
        ++ground;
      } else if (value > median &&
                 value - GET_DATA_BYTE(without_light, x + column) > kTextContrast) {
        ++light;
      } else if (value < median &&
                 GET_DATA_BYTE(without_dark, x + column) - value > kTextContrast) {
        ++dark;
      }
    }
  }
  bool flat = ground >= kMinGroundShare * total;
  bool light_text = light > kLightTextDominance * dark && light >= kMinLightTextShare * total &&
                    light >= kMinLightTextPixels;
  return flat && light_text ? median : -1;
}

// Whether pixels of `gray` inside `box` are lighter than `median` by more
// than kTextContrast: 1 where they are. Null without memory.
ScopedPix LighterThan(PIX* gray, BOX* box, int median) {
  ScopedPix part(pixClipRectangle(gray, box, nullptr));
  ScopedPix dark(part ? pixThresholdToBinary(part.get(), median + kTextContrast + 1) : nullptr);
  return ScopedPix(dark ? pixInvert(nullptr, dark.get()) : nullptr);
}

// `piece` (a mask at `x`, `y`), the region of a ground `median` in `gray`,
// without the light of a lighter ground around it (in `ground`, `gray`
// with its narrow strokes taken out) that reaches into it. Dark text beside
// a bubble, as its timestamp, joins the bubble's ground once its strokes
// are taken out, with the light it is written on. Light text on the ground
// is enclosed by it and stays. Null without memory.
ScopedPix WithoutLightFromAround(PIX* gray,
                                 PIX* ground,
                                 PIX* piece,
                                 l_int32 x,
                                 l_int32 y,
                                 int median) {
  if (median + kTextContrast >= 255) {
    return ScopedPix(pixClone(piece));
  }
  ScopedBox box(boxCreate(x, y, pixGetWidth(piece), pixGetHeight(piece)));
  ScopedPix light(box ? LighterThan(gray, box.get(), median) : nullptr);
  ScopedPix lighter_ground(box ? LighterThan(ground, box.get(), median) : nullptr);
  ScopedPix around(lighter_ground ? pixSubtract(nullptr, lighter_ground.get(), piece) : nullptr);
  ScopedPix reached(around && light ? pixSeedfillBinary(nullptr, around.get(), light.get(), 8)
                                    : nullptr);
  if (reached == nullptr || pixAnd(reached.get(), reached.get(), piece) == nullptr) {
    return nullptr;
  }
  l_int32 empty = 1;
  if (pixZero(reached.get(), &empty) != 0 || empty) {
    return ScopedPix(pixClone(piece));
  }
  // What is cut off of the region with that light, as the bits of that
  // text the closing missed, goes with it.
  ScopedPix text_around(
      pixCloseSafeBrick(nullptr, reached.get(), kAroundTextSize, kAroundTextSize));
  ScopedPix rest(text_around ? pixSubtract(nullptr, piece, text_around.get()) : nullptr);
  return ScopedPix(rest ? pixSelectByArea(rest.get(), kMinRegionPixels, 4, L_SELECT_IF_GTE, nullptr)
                        : nullptr);
}

// Gives the areas that regions in `inside` enclose, and that are too small
// to be judged on their own, the ground of the region around them in
// `grounds`, and adds them to `inside`: a JPEG's blocks split a dark
// editor's ground around some of its words. False without memory.
bool AdoptSmallHoles(PIX* grounds, PIX* inside) {
  ScopedPix filled(pixHolesByFilling(inside, 4));
  ScopedPix holes(filled ? pixSubtract(nullptr, filled.get(), inside) : nullptr);
  ScopedPix small(holes ? pixSelectByArea(holes.get(), kMinRegionPixels, 8, L_SELECT_IF_LT, nullptr)
                        : nullptr);
  PIXA* pieces = nullptr;
  BOXA* boxes = small ? pixConnComp(small.get(), &pieces, 8) : nullptr;
  if (boxes == nullptr) {
    return false;
  }
  boxaDestroy(&boxes);
  l_int32 count = pixaGetCount(pieces);
  for (l_int32 i = 0; i < count; ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    pixaGetBoxGeometry(pieces, i, &x, &y, &width, &height);
    ScopedBox around(boxCreate(x - 1, y - 1, width + 2, height + 2));
    ScopedPix piece(pixaGetPix(pieces, i, L_CLONE));
    l_uint32 ground = 0;
    if (around != nullptr && piece != nullptr &&
        pixGetMaxValueInRect(grounds, around.get(), &ground, nullptr, nullptr) == 0) {
      pixPaintThroughMask(grounds, piece.get(), x, y, ground);
    }
  }
  pixaDestroy(&pieces);
  return pixOr(inside, inside, small.get()) != nullptr;
}

// The pixels of `grounds` (8 bits per pixel) either side of a step of
// kTextContrast or more to the next pixel right or below: where two
// regions meet whose grounds differ as text does from its ground. Null
// without memory.
ScopedPix GroundSteps(PIX* grounds) {
  l_int32 width = pixGetWidth(grounds);
  l_int32 height = pixGetHeight(grounds);
  ScopedPix steps(pixCreate(width, height, 1));
  if (steps == nullptr) {
    return nullptr;
  }
  l_int32 words = pixGetWpl(grounds);
  l_int32 step_words = pixGetWpl(steps.get());
  for (l_int32 y = 0; y < height; ++y) {
    const l_uint32* row = pixGetData(grounds) + y * words;
    l_uint32* step_row = pixGetData(steps.get()) + y * step_words;
    for (l_int32 x = 0; x < width; ++x) {
      l_int32 ground = GET_DATA_BYTE(row, x);
      if (x + 1 < width &&
          std::abs(ground - static_cast<l_int32>(GET_DATA_BYTE(row, x + 1))) >= kTextContrast) {
        SET_DATA_BIT(step_row, x);
        SET_DATA_BIT(step_row, x + 1);
      }
      if (y + 1 < height &&
          std::abs(ground - static_cast<l_int32>(GET_DATA_BYTE(row + words, x))) >= kTextContrast) {
        SET_DATA_BIT(step_row, x);
        SET_DATA_BIT(step_row + step_words, x);
      }
    }
  }
  return steps;
}

}  // namespace

bool LightTextRegions::Find(PIX* gray) {
  grounds_.reset();
  ScopedPix opened(OpenSquare(gray, kStrokeFilterSize));
  ScopedPix closed(CloseSquare(gray, kStrokeFilterSize));
  ScopedPix ground(opened ? CloseSquare(opened.get(), kStrokeFilterSize) : nullptr);
  if (closed == nullptr || ground == nullptr) {
    return false;
  }
  // The grounds fall in two: darker and lighter ones, split as Otsu splits
  // a histogram. Every connected area of either is a region of its own.
  // Grounds too close to tell apart are one: the ground between a dark
  // page's paragraphs would otherwise be a region of its own, without text,
  // left dark around the inverted ones.
  l_int32 split = 0;
  l_int32 darker_mean = 0;
  l_int32 lighter_mean = 0;
  if (pixSplitDistributionFgBg(ground.get(), 0, 1, &split, &darker_mean, &lighter_mean, nullptr) !=
      0) {
    return false;
  }
  if (lighter_mean - darker_mean < kMinGroundDifference) {
    split = kOneGround;
  }
  ScopedPix darker(pixThresholdToBinary(ground.get(), split));
  ScopedPix lighter(darker ? pixInvert(nullptr, darker.get()) : nullptr);
  ScopedPix grounds(pixCreateTemplate(gray));
  if (lighter == nullptr || grounds == nullptr) {
    return false;
  }
  Strokes strokes{gray, opened.get(), closed.get()};
  bool any = false;
  for (PIX* areas : {darker.get(), lighter.get()}) {
    PIXA* pieces = nullptr;
    BOXA* boxes = pixConnComp(areas, &pieces, 4);
    if (boxes == nullptr) {
      return false;
    }
    boxaDestroy(&boxes);
    l_int32 count = pixaGetCount(pieces);
    for (l_int32 i = 0; i < count; ++i) {
      l_int32 x = 0, y = 0, width = 0, height = 0;
      pixaGetBoxGeometry(pieces, i, &x, &y, &width, &height);
      if (width * height < kMinRegionPixels) {
        continue;
      }
      ScopedPix piece(pixaGetPix(pieces, i, L_CLONE));
      l_int32 area = 0;
      if (piece == nullptr || pixCountPixels(piece.get(), &area, nullptr) != 0 ||
          area < kMinRegionPixels) {
        continue;
      }
      int median = LightTextGround(strokes, piece.get(), x, y);
      if (median >= 0) {
        piece = WithoutLightFromAround(gray, ground.get(), piece.get(), x, y, median);
        if (piece == nullptr) {
          pixaDestroy(&pieces);
          return false;
        }
        pixPaintThroughMask(grounds.get(), piece.get(), x, y, static_cast<l_uint32>(255 - median));
        any = true;
      }
    }
    pixaDestroy(&pieces);
  }
  if (!any) {
    return true;
  }
  // The anti-aliased edge between a region and what is around it is
  // neither's ground nor text: whitened, so that no outline is read. So is
  // the edge between two regions whose grounds differ as text does from
  // its ground (an avatar's disc on a dark list): inverted with either, it
  // would come out as a ring of dots.
  ScopedPix regions(pixThresholdToBinary(grounds.get(), 1));
  ScopedPix inside(regions ? pixInvert(nullptr, regions.get()) : nullptr);
  if (inside == nullptr || !AdoptSmallHoles(grounds.get(), inside.get())) {
    return false;
  }
  ScopedPix outer(pixDilateBrick(nullptr, inside.get(), kEdgeSize, kEdgeSize));
  ScopedPix inner(pixErodeBrick(nullptr, inside.get(), kEdgeSize, kEdgeSize));
  ScopedPix steps = GroundSteps(grounds.get());
  if (outer == nullptr || inner == nullptr || steps == nullptr ||
      pixXor(outer.get(), outer.get(), inner.get()) == nullptr ||
      pixDilateBrick(steps.get(), steps.get(), kEdgeSize - 2, kEdgeSize - 2) == nullptr ||
      pixOr(outer.get(), outer.get(), steps.get()) == nullptr ||
      pixSetMasked(grounds.get(), outer.get(), kEdge) != 0) {
    return false;
  }
  grounds_ = std::move(grounds);
  return true;
}

ScopedPix LightTextRegions::Invert(PIX* gray, const BOX* part) const {
  if (grounds_ == nullptr) {
    return ScopedPix(pixClone(gray));
  }
  l_int32 width = pixGetWidth(gray);
  l_int32 height = pixGetHeight(gray);
  ScopedPix grounds(part ? pixClipRectangle(grounds_.get(), const_cast<BOX*>(part), nullptr)
                         : pixClone(grounds_.get()));
  if (grounds != nullptr) {
    grounds.reset(pixScaleBySamplingToSize(grounds.get(), width, height));
  }
  ScopedPix inverted(grounds ? pixCopy(nullptr, gray) : nullptr);
  if (inverted == nullptr) {
    return nullptr;
  }
  l_int32 words = pixGetWpl(inverted.get());
  l_int32 ground_words = pixGetWpl(grounds.get());
  for (l_int32 y = 0; y < height; ++y) {
    l_uint32* row = pixGetData(inverted.get()) + y * words;
    const l_uint32* ground_row = pixGetData(grounds.get()) + y * ground_words;
    for (l_int32 x = 0; x < width; ++x) {
      l_int32 ground = GET_DATA_BYTE(ground_row, x);
      if (ground == kEdge) {
        SET_DATA_BYTE(row, x, 255);
      } else if (ground != 0) {
        l_int32 value = (255 - GET_DATA_BYTE(row, x)) * 255 / ground;
        SET_DATA_BYTE(row, x, std::min(value, 255));
      }
    }
  }
  return inverted;
}

}  // namespace winrt_layer
