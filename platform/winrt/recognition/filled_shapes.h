#ifndef PLATFORM_WINRT_RECOGNITION_FILLED_SHAPES_H_
#define PLATFORM_WINRT_RECOGNITION_FILLED_SHAPES_H_

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <vector>

namespace winrt_layer {

// A word's box on the page, in pixels.
struct WordBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The words of `recognizer`'s reading that are no text but filled round or
// square shapes, at least twice as tall as its words are, or controls: a
// screen's avatars, icons, thumbnails, switches and radio buttons, which
// Tesseract reads as a large letter ("e", "@", "6", "©") in line with the
// text beside them. A letter is strokes, and fills well under the share
// of its box such a shape does; a shape with text cut out of it, as
// initials on an avatar, is no such word.
std::vector<WordBox> FindFilledShapes(tesseract::TessBaseAPI* recognizer);

// Paints out of `gray` (8 bits per pixel, dark text on a light ground, its
// characters `character_height` pixels high) the solid round or square
// shapes at least twice as tall as its characters, with the ground around
// them: a column of avatars under a heading cuts it, in Tesseract's
// layout, into letters read one by one ("Inbox" read "s io” ° *").
void EraseFilledShapes(PIX* gray, float character_height);

// Whether `box` of `ink` (1 for ink) holds a control beside text
// `text_height` high: a switch (a pill with its knob, or an outline with a
// dot) or a radio button that is on (a ring with a dot).
bool IsControl(PIX* ink, const WordBox& box, int text_height);

// Whether the middle of `word` is in `outer`.
bool HoldsMiddleOf(const WordBox& outer, const WordBox& word);

// Whether `word` is one of `shapes`.
bool IsFilledShape(const std::vector<WordBox>& shapes, const WordBox& word);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_FILLED_SHAPES_H_
