#ifndef TOOLS_STDCODEC_VALUE_TEXT_WRITER_H_
#define TOOLS_STDCODEC_VALUE_TEXT_WRITER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "codec/encodable_value.h"
#include "tools/stdcodec/message.h"

namespace stdcodec {

// Prints values and messages as the text that ValueTextReader reads back to
// the same content: every value names its kind, numbers keep their exact
// bits, strings keep every byte, and lists and maps nest by indentation.
class ValueTextWriter {
 public:
  // The text of `message`, every line ended by a newline.
  static std::string FormatMessage(const Message& message);

  // The text of `value` at the left margin, without a final newline.
  static std::string FormatValue(const flutter::EncodableValue& value);

  // A quoted literal: printable ASCII and well-formed UTF-8 stand as they
  // are, everything else (control bytes, C1 controls, stray or overlong
  // bytes) as escapes.
  static std::string QuoteString(std::string_view bytes);

  // The shortest decimal that reads back as the same number; "inf", "-inf";
  // "nan" and "-nan" for the default quiet NaN, "nan(0x<bits>)" for any other.
  static std::string FormatDouble(double number);
  static std::string FormatFloat(float number);

 private:
  ValueTextWriter() = default;

  void AppendValue(const flutter::EncodableValue& value, int indent);
  void AppendBytes(const std::vector<uint8_t>& bytes, int indent);
  template <typename T, typename Format>
  void AppendNumberList(std::string_view kind,
                        const std::vector<T>& list,
                        Format format,
                        int indent);
  void AppendLineBreak(int indent);

  std::string text_;
};

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_VALUE_TEXT_WRITER_H_
