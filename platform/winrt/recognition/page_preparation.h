#ifndef PLATFORM_WINRT_RECOGNITION_PAGE_PREPARATION_H_
#define PLATFORM_WINRT_RECOGNITION_PAGE_PREPARATION_H_

#include <tesseract/baseapi.h>

#include <functional>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/light_text_regions.h"

namespace winrt_layer {

// How the text lies in an image, found on a reduced copy so that it costs
// about the same whatever the image's size: photographs come tilted,
// turned, unevenly lit and much larger than Tesseract needs.
class PagePreparation {
 public:
  // Analyzes `image` (1 or 8 bits per pixel, not a colormap); false without
  // memory, or when `stop_requested`, asked between its steps, says true.
  bool Analyze(PIX* image, const std::function<bool()>& stop_requested = {});

  // Whether the image may hold text that Tesseract can read: false when it
  // shows nothing shaped like characters of any size Tesseract reads, as a
  // blank page or an image of a few flat areas.
  bool may_hold_text() const { return may_hold_text_; }

  // Whether the text lines run up and down before any turn: the page is on
  // its side, so recognizing it before its orientation is known is wasted.
  bool LinesRunVertically() const;

  // The clockwise quarter turns, 0 or 2, that put the text upright once its
  // lines are level, told from the letters' ascenders and descenders as
  // Latin scripts have them; -1 when they do not tell clearly. Much cheaper
  // than Tesseract's detection below.
  int GuessQuarterTurns() const;

  // The clockwise quarter turns that put the text upright once its lines
  // are level, as Tesseract's orientation detection (`osd`, initialized
  // with the "osd" data) finds them; 0 when it finds no text to tell.
  int DetectQuarterTurns(tesseract::TessBaseAPI* osd) const;

  // What Prepare does with regions of text lighter than their ground:
  // inverts them, or leaves them to Tesseract, which tries each line that
  // reads unsure the other way (a page mostly dark is then negated whole,
  // so that most of its lines read at the first try).
  enum class LightText { kInverted, kAsItIs };

  // Whether the image holds regions of text lighter than their ground.
  bool has_light_text() const { return !light_text_.empty(); }

  // `image` cut to its text, leveled, given `quarter_turns` more clockwise
  // quarter turns, scaled to the text size Tesseract reads best, with its
  // regions of light text as `light_text` says and, in a photograph, its
  // background evened out. The image itself (a new reference) when nothing
  // of that is needed; binarized when a gray copy for Tesseract would not
  // fit in memory beside the image. Null without memory, or when
  // `stop_requested`, asked between its steps, says true.
  ScopedPix Prepare(PIX* image,
                    int quarter_turns,
                    const std::function<bool()>& stop_requested = {},
                    LightText light_text = LightText::kInverted) const;

  // The copy of a photograph its text over a picture is looked for in
  // (FindPictureText): the image reduced as for its analysis, as it lies.
  // Null for a drawn image, whose light text lies on grounds of its own and
  // is inverted as such, for one without gray, and without memory.
  ScopedPix PictureTextCopy(PIX* image) const;

  // The clockwise rotation, in degrees, that levels the text lines: within
  // 47 of 0 or of +-90; 0 when no lines were found.
  float level_degrees() const { return level_degrees_; }

  // Whether the image was drawn, as a screenshot, rather than photographed.
  bool drawn() const { return drawn_; }

  // Whether most of a drawn image is dark, as a dark-mode screen is (the
  // median gray of its analysis copy): read as it is, it is negated whole.
  bool dark() const { return dark_; }

  // What Prepare scales by, at most 1: below 1 the text was larger than
  // Tesseract needs, and now has the size of print at 300 dpi.
  float scale() const { return scale_; }

 private:
  // The clockwise rotation, in degrees, that levels the text lines.
  float level_degrees_ = 0;
  float scale_ = 1;
  bool may_hold_text_ = true;
  // The median height of the characters in `leveled_`, and the box around
  // them; 0 and null when there are none.
  float leveled_character_height_ = 0;
  ScopedBox leveled_text_box_;
  // The reduced copy, binarized and leveled, for orientation detection.
  ScopedPix leveled_;
  // The part of the image that holds text, when that is much less than all.
  ScopedBox text_box_;
  // Whether the image was drawn, as a screenshot, rather than photographed.
  bool drawn_ = false;
  bool dark_ = false;
  // The regions of light text on a darker ground, in pixels of the reduced
  // copy.
  LightTextRegions light_text_;
  // Whether the image's grounds are made white before its text is found and
  // read: a drawn image without light text, so found at its full size (a
  // reduced copy loses small light text, which the whitening would erase).
  bool whitens_grounds_ = false;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_PAGE_PREPARATION_H_
