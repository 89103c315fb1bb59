#ifndef PLATFORM_WINRT_RECOGNITION_SQUARE_FILTER_H_
#define PLATFORM_WINRT_RECOGNITION_SQUARE_FILTER_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Gray morphology of `gray` (8 bits per pixel, not a colormap) by a square
// of `size` pixels a side (odd, at least 1), its window clipped to the
// image: the same pixels as Leptonica's pixErodeGray, pixDilateGray,
// pixOpenGray and pixCloseGray make with that square, at a fraction of
// their cost (each row and column in runs of `size`, the columns a row at
// a time), as every image's analysis looks for light text with them. Null
// without memory.
ScopedPix ErodeSquare(PIX* gray, l_int32 size);
ScopedPix DilateSquare(PIX* gray, l_int32 size);
ScopedPix OpenSquare(PIX* gray, l_int32 size);
ScopedPix CloseSquare(PIX* gray, l_int32 size);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SQUARE_FILTER_H_
