#ifndef PLATFORM_WINRT_RECOGNITION_UNREAD_ROWS_H_
#define PLATFORM_WINRT_RECOGNITION_UNREAD_ROWS_H_

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <cstdint>
#include <vector>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/line_order.h"

namespace winrt_layer {

// Rows of marks the size of the text of `read`, the lines Tesseract has
// just read in `page`, that no line holds, found in `thresholded`, its
// binarized page (1 for ink); and that page. A chat's placeholder in its
// field is one: Tesseract's layout puts it in no block at all. None on a
// page that is no screen's or has no lines, or with more of them than a
// screen's few.
struct UnreadRows {
  ScopedPix page;
  std::vector<BOX> boxes;
};
UnreadRows FindUnreadRows(PIX* page, PIX* thresholded, const std::vector<TextLine>& read);

// Reads `rows` at their size, by `recognizer`, which forgets the page. The
// lines read surely join `read`, each a block of its own. Nothing changes
// when `monitor` stops the reading.
void ReadUnreadRows(tesseract::TessBaseAPI* recognizer,
                    const UnreadRows& rows,
                    uint32_t resolution,
                    tesseract::ETEXT_DESC* monitor,
                    std::vector<TextLine>* read);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_UNREAD_ROWS_H_
