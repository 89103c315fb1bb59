#include "platform/winrt/recognition/sure_line.h"

#include <memory>
#include <string>
#include <utility>

namespace winrt_layer {

std::optional<TextLine> SureLine(const tesseract::ResultIterator& line, float min_confidence) {
  std::unique_ptr<char[]> utf8(line.GetUTF8Text(tesseract::RIL_TEXTLINE));
  TextLine read;
  read.confidence = line.Confidence(tesseract::RIL_TEXTLINE);
  if (utf8 == nullptr || read.confidence < min_confidence ||
      !line.BoundingBox(tesseract::RIL_TEXTLINE, &read.left, &read.top, &read.right,
                        &read.bottom)) {
    return std::nullopt;
  }
  read.text = utf8.get();
  read.text.erase(read.text.find_last_not_of(" \r\n") + 1);
  if (read.text.empty()) {
    return std::nullopt;
  }
  return read;
}

}  // namespace winrt_layer
