#ifndef TOOLS_STDCODEC_TEXT_ERROR_H_
#define TOOLS_STDCODEC_TEXT_ERROR_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace stdcodec {

// Where reading a text failed and why. Lines and columns count from 1;
// columns count bytes.
struct TextError {
  // The error at byte `offset` of `text` (`offset` may be the text's size).
  static TextError At(std::string_view text, size_t offset, std::string message);

  // "line L, column C: message".
  std::string ToString() const;

  int line = 0;
  int column = 0;
  std::string message;
};

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_TEXT_ERROR_H_
