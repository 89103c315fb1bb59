#ifndef PLATFORM_WINRT_RECOGNITION_LINE_SHEET_H_
#define PLATFORM_WINRT_RECOGNITION_LINE_SHEET_H_

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <cstdint>
#include <vector>

#include "platform/winrt/recognition/line_order.h"

namespace winrt_layer {

// The lines `recognizer` reads, `min_confidence` sure or more, in the parts
// of `page` (8 bits deep) within `boxes`: each part scaled `scale` times
// and set on a white sheet, one below another with space between, and all
// read at once, as one block. A line's box is that of the part it was read
// in, its block that part's index in `boxes`. The parts that would make the sheet larger than its
// limit are left out. `recognizer` forgets the page it read before.
std::vector<TextLine> ReadOnSheet(tesseract::TessBaseAPI* recognizer,
                                  PIX* page,
                                  const std::vector<BOX>& boxes,
                                  l_int32 scale,
                                  float min_confidence,
                                  uint32_t resolution,
                                  tesseract::ETEXT_DESC* monitor);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_LINE_SHEET_H_
