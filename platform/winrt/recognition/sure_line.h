#ifndef PLATFORM_WINRT_RECOGNITION_SURE_LINE_H_
#define PLATFORM_WINRT_RECOGNITION_SURE_LINE_H_

#include <tesseract/resultiterator.h>

#include <optional>

#include "platform/winrt/recognition/line_order.h"

namespace winrt_layer {

// The text line at `line`, its box in the pixels of the image read, when
// Tesseract read it with a confidence of `min_confidence` or more and it
// holds more than white space; its text without the line break, in block 0.
std::optional<TextLine> SureLine(const tesseract::ResultIterator& line, float min_confidence);

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RECOGNITION_SURE_LINE_H_
