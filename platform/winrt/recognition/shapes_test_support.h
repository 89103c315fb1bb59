#ifndef PLATFORM_WINRT_RECOGNITION_SHAPES_TEST_SUPPORT_H_
#define PLATFORM_WINRT_RECOGNITION_SHAPES_TEST_SUPPORT_H_

// Tests only: paints a screen's shapes into a page of any depth.

#include <leptonica/allheaders.h>

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Gives the disc of `radius` around `x`, `y` in `page` the pixel `value`.
inline bool PaintDisc(PIX* page, l_int32 x, l_int32 y, l_int32 radius, l_uint32 value) {
  PTA* disc = generatePtaFilledCircle(radius);
  if (disc == nullptr) {
    return false;
  }
  for (l_int32 i = 0; i < ptaGetCount(disc); ++i) {
    l_int32 dx = 0, dy = 0;
    ptaGetIPt(disc, i, &dx, &dy);
    pixSetPixel(page, x - radius + dx, y - radius + dy, value);
  }
  ptaDestroy(&disc);
  return true;
}

// Gives a pill `height` high and about twice as wide, from `x`, `y`, the
// pixel `value`: a switch, or the inside of its outline.
inline bool PaintPill(PIX* page, l_int32 x, l_int32 y, l_int32 height, l_uint32 value) {
  l_int32 radius = height / 2;
  BOX middle = Rectangle(x + radius, y, 2 * radius, 2 * radius + 1);
  return PaintDisc(page, x + radius, y + radius, radius, value) &&
         PaintDisc(page, x + 3 * radius, y + radius, radius, value) &&
         pixSetInRectArbitrary(page, &middle, value) == 0;
}

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SHAPES_TEST_SUPPORT_H_
