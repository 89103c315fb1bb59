#ifndef PLATFORM_WINRT_RECOGNITION_PICTURE_TEXT_H_
#define PLATFORM_WINRT_RECOGNITION_PICTURE_TEXT_H_

#include "platform/winrt/imaging/leptonica_image.h"

namespace winrt_layer {

// Which text over a picture FindPictureText draws.
enum class TextShade { kLight, kDark };

// The text of `shade` a photograph shows over a picture, as a caption
// outlined or shadowed over a busy scene, or the letters of a sign on its
// plate, drawn dark on white for Tesseract: each character is a narrow
// stroke lighter (darker) than what is around it, whatever that is. What is
// no character, the picture, the plate's border and the frame, is left out.
//
// `gray` is the photograph's copy reduced for its analysis (8 bits per
// pixel, not a colormap). Null when it shows too few such characters to
// be worth reading, or without memory.
ScopedPix FindPictureText(PIX* gray, TextShade shade);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_PICTURE_TEXT_H_
