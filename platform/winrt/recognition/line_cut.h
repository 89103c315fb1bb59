#ifndef PLATFORM_WINRT_RECOGNITION_LINE_CUT_H_
#define PLATFORM_WINRT_RECOGNITION_LINE_CUT_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Where `page` (1 bit per pixel, or 8 with its ground evened out as
// PagePreparation leaves it; its lines level) can be cut between two text
// lines so that a second recognizer reads the lines below the cut while the
// first reads those above, both done as early as can be: the row to cut
// at, or 0 when no cut is sooner than one recognizer reading it all, or
// when the text stands in columns, whose lines a cut across would put out
// of reading order. Tesseract's time for a line goes with its length in
// line heights; the second recognizer starts `start_cost` of those later
// than the first.
l_int32 FindLineCut(PIX* page, float start_cost);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_LINE_CUT_H_
