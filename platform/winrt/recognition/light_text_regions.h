#ifndef PLATFORM_WINRT_RECOGNITION_LIGHT_TEXT_REGIONS_H_
#define PLATFORM_WINRT_RECOGNITION_LIGHT_TEXT_REGIONS_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// The regions of an image whose text is lighter than what it is written on:
// chat bubbles, buttons and chips, banners, dark panels, a whole dark-mode
// screen. Tesseract reads dark text on a light ground; these regions are
// inverted before it reads them. Each region is an area of one ground,
// with the text taken out, and its polarity comes from its own pixels.
class LightTextRegions {
 public:
  // Finds the regions in `gray` (8 bits per pixel, not a colormap), a copy
  // of an image reduced for its analysis. False without memory.
  bool Find(PIX* gray);

  // Whether there is any region to invert.
  bool empty() const { return grounds_ == nullptr; }

  // `gray` (8 bits per pixel), the part of the image inside `part` (in the
  // pixels of the copy Find looked at; null for all of it) at any scale,
  // with the regions inverted and their ground made white, as the ground of
  // dark text is. A new reference to `gray` when there are none; null
  // without memory.
  ScopedPix Invert(PIX* gray, const BOX* part) const;

 private:
  // The regions, in the pixels of the copy Find looked at: each holds its
  // ground's gray inverted, at least 1; outside them 0. Null when there
  // are none.
  ScopedPix grounds_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_LIGHT_TEXT_REGIONS_H_
