#include "platform/winrt/recognition/page_preparation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/recognition/area_reduction.h"
#include "platform/winrt/recognition/filled_shapes.h"
#include "platform/winrt/recognition/outlines.h"
#include "platform/winrt/recognition/sauvola_threshold.h"
#include "platform/winrt/recognition/screen_size.h"

namespace winrt_layer {
namespace {

// The reduced copy's longer side: characters of a page that fills a phone's
// frame stay about 10 pixels high, enough to find lines and orientation.
constexpr float kAnalysisSide = 1400;

// Sauvola's window half-size and factor on the reduced copy: local
// thresholds take shadows, light fall-off and the surface around the page
// in their stride, where one threshold for the whole image would not.
constexpr int kSauvolaHalfWindow = 12;
constexpr float kSauvolaFactor = 0.34f;

// Tilt is searched over every angle: +-47 degrees around level and around
// upright covers the circle with some overlap, in steps of 2 degrees on the
// copy halved again (a quarter of the cost), refined by binary search to
// 0.05 on the copy itself: reducing a photo's search further costs accuracy
// that Tesseract notices at 10 degrees. Larger print, as a scan's, is
// searched on copies reduced further, as long as its characters stay
// kMinSkewCharacterHeight high in the sweep: the search costs as the pixels
// it sweeps.
constexpr l_int32 kSkewSweepReduction = 2;
constexpr l_int32 kMaxSkewSweepReduction = 8;
constexpr float kMinSkewCharacterHeight = 6;
constexpr l_float32 kSkewSweepRange = 47;
constexpr l_float32 kSkewSweepStep = 2;
constexpr l_float32 kSkewSearchStop = 0.05f;
// How much more confident the leveled-upright reading must be than the
// level one to be chosen.
constexpr l_float32 kUprightPrior = 1.5f;
// A tilt smaller than this is left to Tesseract, which copes with a few
// degrees: a scan that is level enough is recognized as it is.
constexpr float kMinLevelDegrees = 1;
// Below this confidence (Leptonica's own threshold) the search found no
// lines: leveling an image without text would cost a rotation of all of
// it for nothing.
constexpr l_float32 kMinSkewConfidence = 3;

// Which way up the letters stand is told from their ascenders and
// descenders, counted on text about this high (Leptonica's detection is
// made for print at 150 to 300 dpi); the copy is enlarged to it, by at most
// kMaxUpDownExpansion.
constexpr float kUpDownCharacterHeight = 24;
constexpr l_int32 kMaxUpDownExpansion = 4;
// The detection's time grows with the pixels it looks at: a 4K screen's
// 6-pixel text, enlarged four times, would cost it 50 ms. It looks at a band
// across the middle of the text of at most this many pixels once enlarged,
// lines enough to tell.
constexpr l_int64 kMaxUpDownPixels = 1'500'000;
// The text is looked at with this many character heights of what is around
// it: the detection joins letters into words with closings that need room.
constexpr float kUpDownMarginHeights = 2;
// How much more upright the text must look one way up than the other
// (Leptonica's own threshold for a decision). Photographed pages measured
// 13 to 24 one way and as much below 0 the other; pages of capitals and
// digits, which have few ascenders or descenders, near 0 both ways.
constexpr l_float32 kMinUpDownMargin = 8;

// Components this size (in pixels of the reduced copy) are taken as
// characters when measuring the text.
constexpr l_int32 kMinCharacterHeight = 4;
constexpr l_int32 kMaxCharacterHeight = 120;
// Taller than this many widths, a component is a rule, a stripe or an edge,
// not a character too large to measure: the narrowest letters of light
// faces, "l" and "I", stand about 12 widths high.
constexpr l_int32 kMaxLargerCharacterAspect = 20;
// Tesseract reads no text smaller than this reliably. A large image whose
// reduced copy shows no characters is looked at again reduced only so far
// that text of this height still shows them: when that shows none either,
// the image holds nothing to read, and Tesseract, whose layout analysis
// costs as the image's pixels, is not asked.
constexpr float kMinReadableCharacterHeight = 8;
// Character heights (the median of the components) Tesseract reads well:
// it scales each line to 36 pixels for its network, about the height of a
// line of kTargetCharacterHeight characters. Larger text is scaled down to
// that: Tesseract's layout analysis and its copies of each line cost in
// proportion to the pixels, and the larger text adds nothing.
constexpr float kMaxCharacterHeightToRead = 28;
constexpr float kTargetCharacterHeight = 24;

constexpr float kDegreesPerRadian = 57.29578f;

// A photo is cut to its text, with this many character heights around it,
// when that leaves at most this share of its pixels: the surface around a
// page costs every later step time and gives Tesseract nothing to read.
constexpr float kTextMarginHeights = 3;
// Once level, it is cut closer: the lines' box is tight, and what lies
// beyond it is the surface, the page's edge and the corners leveling
// brought in, which Tesseract would read as text.
constexpr float kLeveledTextMarginHeights = 1.5f;
constexpr float kMaxCroppedShare = 0.75f;
// The gamma a drawn image's grays are given before Tesseract reads them:
// below 1, it darkens the middle grays and keeps black and white.
constexpr l_float32 kDrawnGamma = 0.75f;
// The gamma a drawn page read dark on light is given on top of that.
constexpr l_float32 kLightGroundGamma = 0.8f;
// Text covers at most this share of a page: Tesseract takes a side of its
// threshold with more for ground, and so does WithWhiteGrounds.
constexpr float kMaxInkShare = 0.25f;
// A page whose median gray is darker than this has a dark ground.
constexpr l_float32 kDarkGroundGray = 128;
// Every fourth pixel of every fourth row tells the median.
constexpr l_int32 kGroundSampling = 4;

struct Characters {
  // The median height of the components that could be characters.
  float median_height = 0;
  // Whether a component had a character's shape but was too tall to be
  // taken for one: text larger than the analysis measures.
  bool larger = false;
  // The box around them all; empty when there are none.
  l_int32 left = 0;
  l_int32 top = 0;
  l_int32 right = 0;
  l_int32 bottom = 0;
};

// The components of `binary` that could be characters, in its pixels.
Characters FindCharacters(PIX* binary) {
  Characters characters;
  BOXA* boxes = pixConnCompBB(binary, 8);
  if (boxes == nullptr) {
    return characters;
  }
  std::vector<l_int32> heights;
  l_int32 count = boxaGetCount(boxes);
  for (l_int32 i = 0; i < count; ++i) {
    l_int32 x = 0, y = 0, width = 0, height = 0;
    boxaGetBoxGeometry(boxes, i, &x, &y, &width, &height);
    if (height < kMinCharacterHeight || width > 3 * height) {
      continue;
    }
    if (height > kMaxCharacterHeight) {
      characters.larger = characters.larger || height <= kMaxLargerCharacterAspect * width;
      continue;
    }
    characters.left = heights.empty() ? x : std::min(characters.left, x);
    characters.top = heights.empty() ? y : std::min(characters.top, y);
    characters.right = heights.empty() ? x + width : std::max(characters.right, x + width);
    characters.bottom = heights.empty() ? y + height : std::max(characters.bottom, y + height);
    heights.push_back(height);
  }
  boxaDestroy(&boxes);
  if (!heights.empty()) {
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    characters.median_height = static_cast<float>(heights[heights.size() / 2]);
  }
  return characters;
}

// `image` turned `degrees` clockwise: whole quarter turns exactly, and the
// rest, when it is enough to matter, by shearing a binary image or mapping
// the areas of a gray one, in the same frame. Null without memory.
ScopedPix TurnClockwise(PIX* image, float degrees) {
  l_int32 quarter_turns = static_cast<l_int32>(std::lround(degrees / 90));
  float tilt = degrees - 90.0f * static_cast<float>(quarter_turns);
  // No quarter turn is a new reference, not a copy: a full-size copy of a
  // large image beside the image and the turned one is what the memory
  // budget cannot hold.
  l_int32 quads = (quarter_turns % 4 + 4) % 4;
  ScopedPix turned(quads == 0 ? pixClone(image) : pixRotateOrth(image, quads));
  if (turned != nullptr && std::fabs(tilt) >= kMinLevelDegrees) {
    turned.reset(pixRotate(turned.get(), tilt / kDegreesPerRadian,
                           pixGetDepth(image) == 1 ? L_ROTATE_SHEAR : L_ROTATE_AREA_MAP,
                           L_BRING_IN_WHITE, 0, 0));
  }
  return turned;
}

// What `image` is reduced by for its analysis: to at most kAnalysisSide.
float AnalysisReduction(PIX* image) {
  l_int32 longer_side = std::max(pixGetWidth(image), pixGetHeight(image));
  return std::min(1.0f, kAnalysisSide / static_cast<float>(longer_side));
}

// `image` reduced by `reduction` (at most 1) to 8 bits per pixel. Null
// without memory.
ScopedPix Reduce(PIX* image, float reduction) {
  ScopedPix reduced;
  if (pixGetDepth(image) == 1) {
    // Reduced straight to gray: a full-size gray copy of a large black and
    // white scan would cost eight times the scan. Leptonica's reduction
    // leaves at least two pixels a side; a strip narrower than that once
    // reduced is small enough to copy.
    l_int32 shorter_side = std::min(pixGetWidth(image), pixGetHeight(image));
    if (reduction < 1 && static_cast<float>(shorter_side) * reduction >= 2) {
      reduced.reset(pixScaleToGray(image, reduction));
    } else {
      reduced.reset(pixConvertTo8(image, 0));
      if (reduced != nullptr && reduction < 1) {
        reduced = ReduceByArea(reduced.get(), reduction);
      }
    }
  } else {
    reduced = reduction < 1 ? ReduceByArea(image, reduction) : ScopedPix(pixClone(image));
  }
  return reduced;
}

// `gray` thresholded locally. Null without memory.
ScopedPix ThresholdLocally(ScopedPix gray) {
  return gray ? SauvolaThreshold(gray.get(), kSauvolaHalfWindow, kSauvolaFactor) : nullptr;
}

// `image` reduced by `reduction` (at most 1) and thresholded locally. Null
// without memory.
ScopedPix ReduceAndBinarize(PIX* image, float reduction) {
  return ThresholdLocally(Reduce(image, reduction));
}

// Whether `gray` (8 bits per pixel) was drawn rather than photographed:
// most of its pixels equal their neighbours, as in a screenshot's flat
// fills, where a camera's noise and a picture's texture leave a fifth or
// fewer so.
bool IsDrawn(PIX* gray) {
  constexpr double kMinFlatShare = 0.6;
  l_int32 width = pixGetWidth(gray);
  l_int32 height = pixGetHeight(gray);
  l_int32 words = pixGetWpl(gray);
  int64_t flat = 0;
  for (l_int32 y = 0; y < height; ++y) {
    const l_uint32* row = pixGetData(gray) + y * words;
    for (l_int32 x = 1; x < width; ++x) {
      flat += GET_DATA_BYTE(row, x) == GET_DATA_BYTE(row, x - 1);
    }
  }
  return static_cast<double>(flat) >=
         kMinFlatShare * static_cast<double>(width - 1) * static_cast<double>(height);
}

// What a closer look at an image finds.
struct CloserLook {
  // Whether the image shows characters; true without memory, so that
  // nothing goes unread for want of it.
  bool shows_characters = false;
  // The characters, in pixels of the image reduced by `reduction`.
  Characters characters;
  float reduction = 1;
};

// `image`, whose copy reduced by `reduction` showed no characters, looked
// at reduced only as far as readable text allows. A black and white image
// is looked at as it is: reduced, its fine print blurs into gray.
CloserLook LookCloser(PIX* image, float reduction) {
  CloserLook look;
  if (pixGetDepth(image) == 1) {
    if (reduction < 1) {
      look.characters = FindCharacters(image);
    }
    look.shows_characters = look.characters.median_height > 0 || look.characters.larger;
    return look;
  }
  float finest = static_cast<float>(kMinCharacterHeight) / kMinReadableCharacterHeight;
  if (reduction >= finest) {
    return look;
  }
  ScopedPix binary = ReduceAndBinarize(image, finest);
  if (binary == nullptr) {
    look.shows_characters = true;
    return look;
  }
  look.characters = FindCharacters(binary.get());
  look.reduction = finest;
  look.shows_characters = look.characters.median_height > 0;
  return look;
}

// Whether most of `gray` (8 bits per pixel) is dark.
bool HasDarkGround(PIX* gray) {
  l_float32 median = 0;
  return pixGetRankValueMasked(gray, nullptr, 0, 0, kGroundSampling, 0.5f, &median, nullptr) == 0 &&
         median < kDarkGroundGray;
}

// Whether Tesseract's own copy of `page` (8 bits per pixel), beside the
// image and the page, would pass the memory budget.
bool TooLargeForGray(PIX* page) {
  return uint64_t{sizeof(l_uint32)} * static_cast<uint32_t>(pixGetWpl(page)) *
             static_cast<uint32_t>(pixGetHeight(page)) >
         kMaxGrayPageBytes;
}

// `image` (8 bits per pixel) thresholded at its histogram's split between
// text and background (Otsu's), as Tesseract thresholds a gray page. Null
// without memory.
ScopedPix Binarize(PIX* image) {
  // A sample of every other pixel each way gives the same split.
  constexpr l_int32 kHistogramSampling = 2;
  l_int32 threshold = 0;
  if (pixSplitDistributionFgBg(image, 0, kHistogramSampling, &threshold, nullptr, nullptr,
                               nullptr) != 0) {
    return nullptr;
  }
  return ScopedPix(pixThresholdToBinary(image, threshold));
}

// `gray` (8 bits per pixel), a drawn page with no light text, with its
// grounds made white when it has more than one; a new reference to it when
// it has only one. Tesseract splits a gray page at one threshold, Otsu's, and
// takes the side with fewer pixels for ink: on a white receipt on a
// coloured table, or a white card on a dark screen, that falls between the
// two grounds, and the card goes for ink, with its text as holes in it.
// Each pixel's ground is found by closing over the strokes of text; what
// is not clearly darker than its ground is ground. Null without memory.
ScopedPix WithWhiteGrounds(PIX* gray) {
  constexpr l_int32 kHistogramSampling = 2;
  // Wider than the strokes of the boldest heading a screen shows.
  constexpr l_int32 kGroundSize = 15;
  constexpr l_int32 kMinTextContrast = 32;
  NUMA* histogram = pixGetGrayHistogram(gray, kHistogramSampling);
  l_float32 total = 0;
  l_float32 darker = 0;
  bool split = histogram != nullptr && numaGetSum(histogram, &total) == 0 &&
               numaSplitDistribution(histogram, 0, nullptr, nullptr, nullptr, &darker, nullptr,
                                     nullptr) == 0;
  numaDestroy(&histogram);
  if (!split) {
    return nullptr;
  }
  if (darker <= kMaxInkShare * total) {
    return ScopedPix(pixClone(gray));
  }
  ScopedPix grounds(pixCloseGray(gray, kGroundSize, kGroundSize));
  ScopedPix contrast(grounds ? pixSubtractGray(nullptr, grounds.get(), gray) : nullptr);
  ScopedPix faint(contrast ? pixThresholdToBinary(contrast.get(), kMinTextContrast) : nullptr);
  ScopedPix whitened(faint ? pixCopy(nullptr, gray) : nullptr);
  if (whitened == nullptr || pixSetMasked(whitened.get(), faint.get(), 255) != 0) {
    return nullptr;
  }
  return whitened;
}

bool Stopped(const std::function<bool()>& stop_requested) {
  return stop_requested && stop_requested();
}

// The box, in pixels of a `width` x `height` image that `characters` were
// found in reduced by `reduction`, around them with `margin_heights` of
// their height on each side; null when that is most of the image.
BOX* TextBox(const Characters& characters,
             float reduction,
             l_int32 width,
             l_int32 height,
             float margin_heights) {
  if (characters.median_height <= 0) {
    return nullptr;
  }
  float margin = margin_heights * characters.median_height;
  auto full = [reduction](float value, l_int32 limit) {
    return std::clamp(static_cast<l_int32>(value / reduction), 0, limit);
  };
  l_int32 left = full(static_cast<float>(characters.left) - margin, width);
  l_int32 top = full(static_cast<float>(characters.top) - margin, height);
  l_int32 right = full(static_cast<float>(characters.right) + margin, width);
  l_int32 bottom = full(static_cast<float>(characters.bottom) + margin, height);
  float share = static_cast<float>(right - left) * static_cast<float>(bottom - top) /
                (static_cast<float>(width) * static_cast<float>(height));
  return share <= kMaxCroppedShare ? boxCreate(left, top, right - left, bottom - top) : nullptr;
}

// `image` leveled and cut to the box around its text lines: what was
// around the page, brought into the corners by leveling, is left out.
// The image itself when its text fills most of it; null without memory.
ScopedPix CutToLeveledText(PIX* image) {
  float reduction = AnalysisReduction(image);
  ScopedPix binary = ReduceAndBinarize(image, reduction);
  if (binary == nullptr) {
    return nullptr;
  }
  ScopedBox box(TextBox(FindCharacters(binary.get()), reduction, pixGetWidth(image),
                        pixGetHeight(image), kLeveledTextMarginHeights));
  return ScopedPix(box ? pixClipRectangle(image, box.get(), nullptr) : pixClone(image));
}

}  // namespace

bool PagePreparation::Analyze(PIX* image, const std::function<bool()>& stop_requested) {
  float reduction = AnalysisReduction(image);
  ScopedPix reduced = Reduce(image, reduction);
  drawn_ = reduced != nullptr && IsDrawn(reduced.get());
  // The gamma Prepare gives a drawn page darkens it: a median darker than
  // the dark ground's before it is darker after.
  dark_ = drawn_ && pixGetDepth(reduced.get()) == 8 && HasDarkGround(reduced.get());
  // Light text is looked for in drawn images: screens have it, in
  // bubbles, buttons and dark panels. A photograph of a page has none, and
  // its analysis, which the looking would make a third longer, is most of
  // what reading it costs besides Tesseract.
  if (drawn_ && pixGetDepth(image) == 8) {
    if (!light_text_.Find(reduced.get())) {
      return false;
    }
    whitens_grounds_ = light_text_.empty() && reduction >= 1;
    reduced = whitens_grounds_ ? WithWhiteGrounds(reduced.get())
                               : light_text_.Invert(reduced.get(), nullptr);
  }
  ScopedPix binary = ThresholdLocally(std::move(reduced));
  if (binary == nullptr || Stopped(stop_requested)) {
    return false;
  }
  Characters characters = FindCharacters(binary.get());
  // Where the text is, as found at `boxed_reduction`: text too small for
  // the reduced copy is cut to as well, or a few lines of small print in a
  // large image would cost Tesseract's layout analysis all of it.
  Characters boxed = characters;
  float boxed_reduction = reduction;
  may_hold_text_ = characters.median_height > 0 || characters.larger;
  if (!may_hold_text_) {
    CloserLook closer = LookCloser(image, reduction);
    may_hold_text_ = closer.shows_characters;
    boxed = closer.characters;
    boxed_reduction = closer.reduction;
  }
  if (Stopped(stop_requested)) {
    return false;
  }
  l_int32 sweep_reduction = kSkewSweepReduction;
  while (sweep_reduction < kMaxSkewSweepReduction &&
         characters.median_height / static_cast<float>(2 * sweep_reduction) >=
             kMinSkewCharacterHeight) {
    sweep_reduction *= 2;
  }
  l_float32 angle = 0;
  l_float32 confidence = 0;
  // The lines sought are lines of characters: in an image without any, the
  // edges of what it shows would be taken for them.
  if (characters.median_height > 0) {
    pixFindSkewOrthogonalRange(binary.get(), &angle, &confidence, sweep_reduction,
                               sweep_reduction / 2, kSkewSweepRange, kSkewSweepStep,
                               kSkewSearchStop, kUprightPrior);
  }
  level_degrees_ = confidence < kMinSkewConfidence ? 0 : angle;
  leveled_ = TurnClockwise(binary.get(), level_degrees_);
  if (leveled_ == nullptr || Stopped(stop_requested)) {
    return false;
  }
  Characters leveled_characters = FindCharacters(leveled_.get());
  leveled_character_height_ = leveled_characters.median_height;
  if (leveled_character_height_ > 0) {
    l_int32 margin = static_cast<l_int32>(kUpDownMarginHeights * leveled_character_height_);
    leveled_text_box_.reset(
        boxCreate(leveled_characters.left - margin, leveled_characters.top - margin,
                  leveled_characters.right - leveled_characters.left + 2 * margin,
                  leveled_characters.bottom - leveled_characters.top + 2 * margin));
  }
  float character_height = leveled_character_height_ / reduction;
  scale_ =
      character_height > kMaxCharacterHeightToRead ? kTargetCharacterHeight / character_height : 1;
  // The text's box is found as the image lies, where it is cut first. A
  // drawn image the size of a screen has no surface around it to cut away,
  // and its faintest text (a field's placeholder, a grey value) may not
  // show in the box; a larger one is cut all the same, as what Tesseract
  // costs follows its pixels.
  float pixels = static_cast<float>(pixGetWidth(image)) * static_cast<float>(pixGetHeight(image));
  bool cut = !drawn_ || pixels > static_cast<float>(kLargestScreenPixels);
  text_box_.reset(cut ? TextBox(boxed, boxed_reduction, pixGetWidth(image), pixGetHeight(image),
                                kTextMarginHeights)
                      : nullptr);
  return true;
}

bool PagePreparation::LinesRunVertically() const {
  return std::fabs(level_degrees_) > 45;
}

int PagePreparation::GuessQuarterTurns() const {
  if (leveled_text_box_ == nullptr) {
    return -1;
  }
  // Only the text is looked at: the surface around a page would cost the
  // detection time and could only mislead it.
  l_int32 expansion = std::clamp(
      static_cast<l_int32>(std::lround(kUpDownCharacterHeight / leveled_character_height_)), 1,
      kMaxUpDownExpansion);
  l_int32 x = 0, y = 0, width = 0, height = 0;
  boxGetGeometry(leveled_text_box_.get(), &x, &y, &width, &height);
  l_int32 band = static_cast<l_int32>(std::min<l_int64>(
      height, kMaxUpDownPixels / (l_int64{std::max(width, 1)} * expansion * expansion)));
  ScopedBox middle(boxCreate(x, y + (height - band) / 2, width, band));
  ScopedPix text(middle ? pixClipRectangle(leveled_.get(), middle.get(), nullptr) : nullptr);
  if (text != nullptr && expansion > 1) {
    text.reset(pixExpandBinaryReplicate(text.get(), expansion, expansion));
  }
  // Leptonica's detection says how upright text looks, or 0 when it finds
  // too few ascenders and descenders to say, which happens to some text
  // one way up and not the other: it is asked both ways.
  ScopedPix upside_down(text ? pixRotate180(nullptr, text.get()) : nullptr);
  l_float32 upright_looks = 0;
  l_float32 upside_down_looks = 0;
  if (upside_down == nullptr || pixUpDownDetect(text.get(), &upright_looks, 0, 0, 0) != 0 ||
      pixUpDownDetect(upside_down.get(), &upside_down_looks, 0, 0, 0) != 0) {
    return -1;
  }
  l_float32 margin = upright_looks - upside_down_looks;
  if (margin >= kMinUpDownMargin) {
    return 0;
  }
  return margin <= -kMinUpDownMargin ? 2 : -1;
}

int PagePreparation::DetectQuarterTurns(tesseract::TessBaseAPI* osd) const {
  osd->SetPageSegMode(tesseract::PSM_OSD_ONLY);
  osd->SetImage(leveled_.get());
  int orientation = 0;
  float orientation_confidence = 0;
  const char* script = nullptr;
  float script_confidence = 0;
  bool found = osd->DetectOrientationScript(&orientation, &orientation_confidence, &script,
                                            &script_confidence);
  osd->Clear();
  // Tesseract gives the page's clockwise rotation: it is turned back.
  return found ? (360 - orientation) / 90 % 4 : 0;
}

ScopedPix PagePreparation::Prepare(PIX* image,
                                   int quarter_turns,
                                   const std::function<bool()>& stop_requested,
                                   LightText light_text) const {
  // Each step takes the previous one's image; a step that fails, or a stop
  // between steps, ends them all.
  ScopedPix prepared(text_box_ ? pixClipRectangle(image, text_box_.get(), nullptr)
                               : pixClone(image));
  auto go_on = [&prepared, &stop_requested] {
    if (prepared != nullptr && Stopped(stop_requested)) {
      prepared.reset();
    }
    return prepared != nullptr;
  };
  if (go_on() && scale_ < 1) {
    prepared = pixGetDepth(image) == 8 ? ReduceByArea(prepared.get(), scale_)
                                       : ScopedPix(pixScale(prepared.get(), scale_, scale_));
  }
  // Inverting takes a copy: a page too large for Tesseract's own copy is
  // read as it is.
  if (go_on() && light_text == LightText::kInverted && !light_text_.empty() &&
      !TooLargeForGray(prepared.get())) {
    float reduction = AnalysisReduction(image);
    ScopedBox part(text_box_ ? boxTransform(text_box_.get(), 0, 0, reduction, reduction) : nullptr);
    prepared = light_text_.Invert(prepared.get(), part.get());
  }
  // Tesseract reads from a copy of its own, made while the image and this
  // page are still held: a gray page too large for that is evened out and
  // binarized before it is turned, and no further gray copy is made.
  if (go_on() && pixGetDepth(prepared.get()) == 8 && TooLargeForGray(prepared.get())) {
    if (!drawn_) {
      prepared.reset(pixBackgroundNormSimple(prepared.get(), nullptr, nullptr));
    }
    if (go_on()) {
      prepared = Binarize(prepared.get());
    }
  }
  if (go_on()) {
    prepared =
        TurnClockwise(prepared.get(), level_degrees_ + 90.0f * static_cast<float>(quarter_turns));
  }
  if (go_on() && text_box_) {
    prepared = CutToLeveledText(prepared.get());
  }
  // A drawn image's light is even: evening it out would only blur the
  // contrast of its grey text into the tiles' grounds. Its faint text (a
  // placeholder, a grey value, dim line numbers) is darkened instead:
  // Tesseract splits the whole page at one threshold, and light grey on
  // white falls on the ground's side of it.
  if (go_on() && pixGetDepth(prepared.get()) == 8) {
    prepared.reset(drawn_ ? pixGammaTRC(nullptr, prepared.get(), kDrawnGamma, 0, 255)
                          : pixBackgroundNormSimple(prepared.get(), nullptr, nullptr));
  }
  // Tesseract reads each line dark on light first, and then the other way
  // when that reads unsure: on a dark page read as it is, every light line
  // would be read twice. Negated whole, its light lines read at the first
  // try, and its dark ones, now light, are still tried both ways. The gray
  // page is the step above's own copy, negated in place. Any other drawn
  // page's faint text is darkened further: a chat's light grey placeholder
  // beside a dark send button falls on the ground's side of Tesseract's
  // threshold even so. A dark page's light grey text, so darkened before
  // it is negated, would be fainter.
  if (go_on() && light_text == LightText::kAsItIs && pixGetDepth(prepared.get()) == 8 &&
      HasDarkGround(prepared.get())) {
    pixInvert(prepared.get(), prepared.get());
  } else if (go_on() && drawn_ && pixGetDepth(prepared.get()) == 8) {
    pixGammaTRC(prepared.get(), prepared.get(), kLightGroundGamma, 0, 255);
  }
  if (go_on() && whitens_grounds_ && pixGetDepth(prepared.get()) == 8) {
    prepared = WithWhiteGrounds(prepared.get());
  }
  if (go_on() && drawn_ && pixGetDepth(prepared.get()) == 8) {
    float character_height = leveled_character_height_ / AnalysisReduction(image) * scale_;
    EraseOutlines(prepared.get(), character_height);
    EraseFilledShapes(prepared.get(), character_height);
  }
  go_on();
  return prepared;
}

ScopedPix PagePreparation::PictureTextCopy(PIX* image) const {
  if (drawn_ || pixGetDepth(image) != 8) {
    return nullptr;
  }
  return Reduce(image, AnalysisReduction(image));
}

}  // namespace winrt_layer
