#ifndef PLATFORM_WINRT_RECOGNITION_SAUVOLA_THRESHOLD_H_
#define PLATFORM_WINRT_RECOGNITION_SAUVOLA_THRESHOLD_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// `gray` (8 bits per pixel, not a colormap) thresholded by Sauvola's rule:
// a pixel is black (1) when it is darker than m * (1 - k * (1 - s / 128)),
// where m and s are the mean and standard deviation of the square window of
// 2 * `half_window` + 1 pixels around it, cut by the image's edges. The
// same rule as Leptonica's pixSauvolaBinarize, in running sums at a
// fraction of its cost: photographs are thresholded this way twice before
// they are read. Null without memory.
ScopedPix SauvolaThreshold(PIX* gray, int half_window, float k);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SAUVOLA_THRESHOLD_H_
