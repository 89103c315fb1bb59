// Whatever a file decodes to is analyzed and prepared as recognition does
// before Tesseract reads it, without a fault, and what comes out holds to the
// preparation's contract: the analysis fails only without memory, its angle
// and scale stay in their ranges, and the prepared image exists, keeps the
// depth it was given (a page too large for a gray copy comes binarized) and
// is no larger than the image turned.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/winrt/imaging/first_frame.h"
#include "platform/winrt/imaging/image_header.h"
#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/page_preparation.h"
#include "platform/winrt/recognition/picture_text.h"

namespace {

void Check(bool holds) {
  if (!holds) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<BYTE> content(data, data + size);
  winrt_layer::ImageHeader header;
  if (FAILED(winrt_layer::ImageHeader::Read(content, &header).code)) {
    return 0;
  }
  winrt_layer::ScopedPix frame = winrt_layer::DecodeFirstFrame(content, header);
  if (frame == nullptr) {
    return 0;
  }
  // OcrEngine refuses a bitmap wider or taller than its MaxImageDimension
  // before any preparation: the header's limit is on the decoded bytes, so a
  // black and white strip may be far longer.
  if (static_cast<uint32_t>(pixGetWidth(frame.get())) > winrt_layer::kMaxImageDimension ||
      static_cast<uint32_t>(pixGetHeight(frame.get())) > winrt_layer::kMaxImageDimension) {
    return 0;
  }
  // Recognition takes the decoded pixels through the same image and copy.
  const winrt_layer::LeptonicaImage pixels(std::move(frame));
  winrt_layer::ScopedPix image = pixels.PixForRecognition();
  // Null only without memory, which the fuzzer's limits turn into a crash
  // before any allocation could fail.
  Check(image != nullptr);
  l_int32 width = pixGetWidth(image.get());
  l_int32 height = pixGetHeight(image.get());
  l_int32 depth = pixGetDepth(image.get());
  Check(static_cast<uint32_t>(width) == pixels.width() &&
        static_cast<uint32_t>(height) == pixels.height() && (depth == 1 || depth == 8) &&
        pixGetColormap(image.get()) == nullptr);

  winrt_layer::PagePreparation page;
  Check(page.Analyze(image.get()));
  float level = page.level_degrees();
  Check(std::isfinite(level) && std::fabs(level) <= 90 + 47);
  Check(page.scale() > 0 && page.scale() <= 1);
  int guessed = page.GuessQuarterTurns();
  Check(guessed == -1 || guessed == 0 || guessed == 2);
  if (!page.may_hold_text()) {
    return 0;
  }
  // Turned as recognition turns it. A page on its side that the letters do
  // not orient gets Tesseract's detection there, which needs its model:
  // here the input picks one of the two side turns instead.
  int quarter_turns = guessed >= 0 ? guessed : 0;
  if (guessed < 0 && page.LinesRunVertically()) {
    quarter_turns = 1 + 2 * static_cast<int>(size % 2);
  }
  // A page with light text is read inverted and as it is, one after the
  // other when it is large.
  using LightText = winrt_layer::PagePreparation::LightText;
  for (LightText light_text : {LightText::kInverted, LightText::kAsItIs}) {
    if (light_text == LightText::kAsItIs && !page.has_light_text()) {
      break;
    }
    winrt_layer::ScopedPix prepared = page.Prepare(image.get(), quarter_turns, {}, light_text);
    Check(prepared != nullptr);
    // Cut, scaled by at most 1 and turned within its own frame (quarter
    // turns swap the sides), the page never outgrows its longer side.
    l_int32 longer_side = std::max(width, height);
    l_int32 prepared_width = pixGetWidth(prepared.get());
    l_int32 prepared_height = pixGetHeight(prepared.get());
    Check(prepared_width >= 1 && prepared_height >= 1 && prepared_width <= longer_side &&
          prepared_height <= longer_side);
    // It keeps its depth, but for a gray page too large for Tesseract's
    // copy, which comes binarized.
    uint64_t gray_bytes = uint64_t{4} * static_cast<uint32_t>((prepared_width + 3) / 4) *
                          static_cast<uint32_t>(prepared_height);
    l_int32 prepared_depth = pixGetDepth(prepared.get());
    Check(depth == 8 && gray_bytes > winrt_layer::kMaxGrayPageBytes ? prepared_depth == 1
                                                                    : prepared_depth == depth);
  }
  // Text over a picture is drawn on the analysis copy: never larger than the
  // image, one bit per pixel.
  winrt_layer::ScopedPix picture = page.PictureTextCopy(image.get());
  for (auto shade : {winrt_layer::TextShade::kLight, winrt_layer::TextShade::kDark}) {
    winrt_layer::ScopedPix picture_text =
        picture ? winrt_layer::FindPictureText(picture.get(), shade) : nullptr;
    Check(picture_text == nullptr ||
          (pixGetDepth(picture_text.get()) == 1 && pixGetWidth(picture_text.get()) <= width &&
           pixGetHeight(picture_text.get()) <= height));
  }
  return 0;
}
