#ifndef PLATFORM_WINRT_RECOGNITION_OUTLINES_H_
#define PLATFORM_WINRT_RECOGNITION_OUTLINES_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Erases from `gray` (8 bits per pixel, dark text on a light ground, its
// characters `character_height` pixels high) the outlines drawn around
// labels, as of a button, a chip or a field: a thin line along the top and
// the bottom of a box at least twice as wide as tall and a line and a half
// of text tall, with nothing across its middle. Tesseract's layout takes a
// label in an outline with rounded corners for part of a picture and
// leaves it unread (square ones it finds as rules), and reads a light
// outline it does not see as brackets around the label. Each outline is
// painted with the gray inside it.
void EraseOutlines(PIX* gray, float character_height);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_OUTLINES_H_
