#ifndef PLATFORM_WINRT_RECOGNITION_SMALL_TEXT_H_
#define PLATFORM_WINRT_RECOGNITION_SMALL_TEXT_H_

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <cstdint>
#include <vector>

#include "platform/winrt/recognition/line_order.h"

namespace winrt_layer {

// Reads again the lines of text too small for Tesseract to read at their
// size (a chat's 9-pixel timestamps, a caption under a thumbnail) that
// `recognizer`'s reading of a page left out of `read`, its lines, or read
// poorly. They are found among the marks of `thresholded`, Tesseract's
// binarized page (1 for ink), enlarged three times and read by
// `recognizer`, which forgets the page. A line read so, its box in the
// page's pixels, replaces the poor line under it, or follows the line
// above it in that line's block (a timestamp below its bubble), or else is
// a block of its own. Nothing changes when the page
// holds none or is no screen's, or when `monitor` stops the reading.
void ReadSmallText(tesseract::TessBaseAPI* recognizer,
                   PIX* thresholded,
                   uint32_t resolution,
                   tesseract::ETEXT_DESC* monitor,
                   std::vector<TextLine>* read);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SMALL_TEXT_H_
