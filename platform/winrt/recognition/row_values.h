#ifndef PLATFORM_WINRT_RECOGNITION_ROW_VALUES_H_
#define PLATFORM_WINRT_RECOGNITION_ROW_VALUES_H_

#include <string>
#include <vector>

namespace winrt_layer {

// A line of text as Tesseract's layout analysis found it: its text, the
// block it belongs to, and its box on the page.
struct TextLine {
  std::string text;
  int block = 0;
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The texts of `lines`, given in Tesseract's reading order, with the values
// its layout analysis set apart joined to the rows they stand on. A value
// aligned to the right of its row, as a time in a list of messages, a size
// in a list of files or a setting beside its label, comes out of the layout
// as a block of one short line of its own, read after all the rows: it is
// read at the end of the line of another block that it stands beside,
// instead. Columns of text, whose blocks hold more lines or longer ones,
// keep their order.
std::vector<std::string> JoinValuesToTheirRows(std::vector<TextLine> lines);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_ROW_VALUES_H_
