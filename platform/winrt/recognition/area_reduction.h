#ifndef PLATFORM_WINRT_RECOGNITION_AREA_REDUCTION_H_
#define PLATFORM_WINRT_RECOGNITION_AREA_REDUCTION_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// `gray` (8 bits per pixel, not a colormap) reduced by `factor` (above 0,
// below 1) to its width and height times `factor`, rounded, at least 1:
// each pixel the mean of the area it covers, as Leptonica's
// pixScaleAreaMap makes it, in one pass of fixed-point sums at a fraction
// of its cost: every photo is reduced so before it is analyzed. Null
// without memory.
ScopedPix ReduceByArea(PIX* gray, float factor);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_AREA_REDUCTION_H_
