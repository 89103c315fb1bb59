#ifndef PLATFORM_WINRT_RECOGNITION_LINE_ORDER_H_
#define PLATFORM_WINRT_RECOGNITION_LINE_ORDER_H_

#include <string>
#include <vector>

namespace winrt_layer {

// A line of text as Tesseract's layout analysis found it: its text, the
// block it belongs to, its box on the page, and how sure Tesseract is of
// it, 0 to 100.
struct TextLine {
  std::string text;
  int block = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  float confidence = 0;
};

// The first block no line of `lines` belongs to: where lines read again
// start blocks of their own.
int NextBlock(const std::vector<TextLine>& lines);

// Whether the boxes of `a` and `b` share any pixel.
bool Overlap(const TextLine& a, const TextLine& b);

// Puts `lines`, given in Tesseract's reading order, in the order a reader
// takes them down the page.
// - A value aligned to the right of its row, as a time in a list of
//   messages, a size in a list of files or a setting beside its label,
//   comes out of the layout as a block of one short line of its own, read
//   after all the rows; a column of them, as a receipt's prices, as a block
//   of short lines. Each is read at the end of the line of another block
//   that it stands beside, instead.
// - Blocks that stand one below another, none beside another, as a
//   screen's title over a list or the bubbles of a chat on either side, are
//   read from the top down; the layout reads such a title, or the bubbles
//   on the right, after the rest. Lines of a block more than a few line
//   heights apart count as blocks apart: the layout takes a chat's last
//   bubble on the left and its text field for one column.
// Columns of text, whose blocks hold more lines or longer ones and stand
// side by side, keep their order, as do more lines than a screen or a page
// holds.
void OrderLines(std::vector<TextLine>* lines);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_LINE_ORDER_H_
