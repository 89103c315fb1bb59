#ifndef PLATFORM_WINRT_RECOGNITION_ROW_PARTS_H_
#define PLATFORM_WINRT_RECOGNITION_ROW_PARTS_H_

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/filled_shapes.h"
#include "platform/winrt/recognition/line_order.h"

namespace winrt_layer {

// A line whose parts stand far apart, in text of different sizes: a list's
// title and the time at its row's end. Tesseract spaces the words of a
// line by the whole line, and runs a smaller part's words together ("1hr4
// min"); read on its own, a part of words comes out spaced by them.
struct LinePart {
  std::string text;
  BOX box{};
  bool read_alone = false;
};
struct SplitLine {
  WordBox line;
  std::vector<LinePart> parts;
};
struct RowParts {
  ScopedPix page;
  std::vector<SplitLine> lines;
};

// The lines of the page `recognizer` has just read that stand in parts of
// different sizes, its words taken in the page's order, `shapes` left out;
// and that page. None on a page larger than a 4K screen, not 8 bits deep,
// or holding more of them than a screen's list.
RowParts FindRowParts(tesseract::TessBaseAPI* recognizer, const std::vector<WordBox>& shapes);

// Reads the smaller parts of words of `rows` each on its own, by
// `recognizer`, which forgets the page. A part read so with the same
// letters keeps its own spacing in its line in `read`, the page's lines.
// Nothing changes when `monitor` stops the reading.
void ReadRowParts(tesseract::TessBaseAPI* recognizer,
                  const RowParts& rows,
                  uint32_t resolution,
                  tesseract::ETEXT_DESC* monitor,
                  std::vector<TextLine>* read);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_ROW_PARTS_H_
