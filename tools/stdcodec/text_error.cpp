#include "tools/stdcodec/text_error.h"

#include <utility>

namespace stdcodec {

TextError TextError::At(std::string_view text, size_t offset, std::string message) {
  TextError error;
  error.line = 1;
  error.column = 1;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++error.line;
      error.column = 1;
    } else {
      ++error.column;
    }
  }
  error.message = std::move(message);
  return error;
}

std::string TextError::ToString() const {
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
}

}  // namespace stdcodec
