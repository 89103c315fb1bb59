#include "tools/stdcodec/value_text_writer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace stdcodec {

using flutter::EncodableValue;

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr size_t kBytesPerLine = 16;
constexpr size_t kNumbersPerLine = 8;
constexpr int kIndentWidth = 2;

void AppendHexByte(uint8_t byte, std::string* text) {
  *text += kDigits[byte >> 4];
  *text += kDigits[byte & 0xF];
}

template <typename Bits>
std::string FormatNanBits(Bits bits) {
  std::string text = "nan(0x";
  for (int shift = sizeof(Bits) * 8 - 4; shift >= 0; shift -= 4) {
    text += kDigits[(bits >> shift) & 0xF];
  }
  return text + ")";
}

template <typename T>
std::string FormatShortest(T number) {
  char buffer[64];
  std::to_chars_result result = std::to_chars(buffer, buffer + sizeof(buffer), number);
  return std::string(buffer, result.ptr);
}

// NaNs other than the default quiet ones keep their exact bits.
template <typename Bits, typename T>
std::string FormatFloatingPoint(T number) {
  static_assert(sizeof(Bits) == sizeof(T));
  constexpr int kMantissaBits = std::numeric_limits<T>::digits - 1;
  constexpr Bits kSign = Bits{1} << (sizeof(Bits) * 8 - 1);
  constexpr Bits kQuietNan = static_cast<Bits>(~kSign) >> (kMantissaBits - 1)
                                                              << (kMantissaBits - 1);
  Bits bits = std::bit_cast<Bits>(number);
  if (!std::isnan(number)) {
    return FormatShortest(number);
  }
  if (bits == kQuietNan) {
    return "nan";
  }
  if (bits == (kQuietNan | kSign)) {
    return "-nan";
  }
  return FormatNanBits(bits);
}

// The length of the well-formed UTF-8 sequence of two or more bytes that
// starts at `bytes[i]`, or 0 when there is none.
size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
  auto at = [&bytes](size_t k) { return static_cast<uint8_t>(bytes[k]); };
  uint8_t lead = at(i);
  size_t length;
  uint8_t second_low = 0x80;
  uint8_t second_high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    // No overlong forms and no surrogates.
    if (lead == 0xE0) {
      second_low = 0xA0;
    } else if (lead == 0xED) {
      second_high = 0x9F;
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    // No overlong forms and nothing past U+10FFFF.
    if (lead == 0xF0) {
      second_low = 0x90;
    } else if (lead == 0xF4) {
      second_high = 0x8F;
    }
  } else {
    return 0;
  }
  if (bytes.size() - i < length || at(i + 1) < second_low || at(i + 1) > second_high) {
    return 0;
  }
  for (size_t k = i + 2; k < i + length; ++k) {
    if (at(k) < 0x80 || at(k) > 0xBF) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string ValueTextWriter::FormatMessage(const Message& message) {
  std::string text;
  switch (message.kind) {
    case MessageKind::kValue:
      text = FormatValue(message.value) + "\n";
      break;
    case MessageKind::kCall:
      text = "method " + QuoteString(message.name) + "\nargs " + FormatValue(message.value) + "\n";
      break;
    case MessageKind::kEnvelope:
      switch (message.reply) {
        case Message::Reply::kSuccess:
          text = "success " + FormatValue(message.value) + "\n";
          break;
        case Message::Reply::kError:
          text = "error " + QuoteString(message.name) + "\nmessage " +
                 QuoteString(message.error_message) + "\ndetails " + FormatValue(message.value) +
                 "\n";
          break;
        case Message::Reply::kNotImplemented:
          text = "not implemented\n";
          break;
      }
      break;
  }
  return text;
}

std::string ValueTextWriter::FormatValue(const EncodableValue& value) {
  ValueTextWriter writer;
  writer.AppendValue(value, 0);
  return std::move(writer.text_);
}

std::string ValueTextWriter::QuoteString(std::string_view bytes) {
  std::string text = "\"";
  for (size_t i = 0; i < bytes.size();) {
    auto byte = static_cast<uint8_t>(bytes[i]);
    switch (byte) {
      case '"':
        text += "\\\"";
        ++i;
        continue;
      case '\\':
        text += "\\\\";
        ++i;
        continue;
      case '\n':
        text += "\\n";
        ++i;
        continue;
      case '\r':
        text += "\\r";
        ++i;
        continue;
      case '\t':
        text += "\\t";
        ++i;
        continue;
      default:
        break;
    }
    if (byte >= 0x20 && byte < 0x7F) {
      text += bytes[i];
      ++i;
      continue;
    }
    size_t length = byte >= 0x80 ? Utf8SequenceLength(bytes, i) : 0;
    // C1 controls (U+0080 to U+009F) are as invisible as C0 ones.
    bool c1_control = byte == 0xC2 && length == 2 && static_cast<uint8_t>(bytes[i + 1]) < 0xA0;
    if (length != 0 && !c1_control) {
      text.append(bytes.substr(i, length));
      i += length;
      continue;
    }
    text += "\\x";
    AppendHexByte(byte, &text);
    ++i;
  }
  return text + "\"";
}

std::string ValueTextWriter::FormatDouble(double number) {
  return FormatFloatingPoint<uint64_t>(number);
}

std::string ValueTextWriter::FormatFloat(float number) {
  return FormatFloatingPoint<uint32_t>(number);
}

void ValueTextWriter::AppendValue(const EncodableValue& value, int indent) {
  switch (value.Index()) {
    case EncodableValue::kNull:
      text_ += "null";
      break;
    case EncodableValue::kBool:
      text_ += *value.GetIf<bool>() ? "bool true" : "bool false";
      break;
    case EncodableValue::kInt32:
      text_ += "int32 " + std::to_string(*value.GetIf<int32_t>());
      break;
    case EncodableValue::kInt64:
      text_ += "int64 " + std::to_string(*value.GetIf<int64_t>());
      break;
    case EncodableValue::kDouble:
      text_ += "double " + FormatDouble(*value.GetIf<double>());
      break;
    case EncodableValue::kString:
      text_ += "string " + QuoteString(*value.GetIf<std::string>());
      break;
    case EncodableValue::kByteList:
      AppendBytes(*value.GetIf<std::vector<uint8_t>>(), indent);
      break;
    case EncodableValue::kInt32List:
      AppendNumberList(
          "int32 list", *value.GetIf<std::vector<int32_t>>(),
          [](int32_t number) { return std::to_string(number); }, indent);
      break;
    case EncodableValue::kInt64List:
      AppendNumberList(
          "int64 list", *value.GetIf<std::vector<int64_t>>(),
          [](int64_t number) { return std::to_string(number); }, indent);
      break;
    case EncodableValue::kDoubleList:
      AppendNumberList("double list", *value.GetIf<std::vector<double>>(), FormatDouble, indent);
      break;
    case EncodableValue::kFloat32List:
      AppendNumberList("float32 list", *value.GetIf<std::vector<float>>(), FormatFloat, indent);
      break;
    case EncodableValue::kList: {
      const flutter::ValueList& list = *value.GetIf<flutter::ValueList>();
      text_ += "list [";
      for (size_t i = 0; i < list.size(); ++i) {
        text_ += i == 0 ? "" : ",";
        AppendLineBreak(indent + 1);
        AppendValue(list[i], indent + 1);
      }
      if (!list.empty()) {
        AppendLineBreak(indent);
      }
      text_ += "]";
      break;
    }
    case EncodableValue::kMap: {
      const flutter::ValueMap& map = *value.GetIf<flutter::ValueMap>();
      text_ += "map {";
      bool first = true;
      for (const auto& [key, entry] : map) {
        text_ += first ? "" : ",";
        first = false;
        AppendLineBreak(indent + 1);
        AppendValue(key, indent + 1);
        text_ += ": ";
        AppendValue(entry, indent + 1);
      }
      if (!map.empty()) {
        AppendLineBreak(indent);
      }
      text_ += "}";
      break;
    }
    case EncodableValue::kCustom:
      // Never decoded from a message; the reader refuses it.
      text_ += "custom";
      break;
  }
}

void ValueTextWriter::AppendBytes(const std::vector<uint8_t>& bytes, int indent) {
  text_ += "bytes [";
  bool wrapped = bytes.size() > kBytesPerLine;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (wrapped && i % kBytesPerLine == 0) {
      AppendLineBreak(indent + 1);
    } else if (i != 0) {
      text_ += ' ';
    }
    AppendHexByte(bytes[i], &text_);
  }
  if (wrapped) {
    AppendLineBreak(indent);
  }
  text_ += "]";
}

template <typename T, typename Format>
void ValueTextWriter::AppendNumberList(std::string_view kind,
                                       const std::vector<T>& list,
                                       Format format,
                                       int indent) {
  text_.append(kind);
  text_ += " [";
  bool wrapped = list.size() > kNumbersPerLine;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i != 0) {
      text_ += ",";
    }
    if (wrapped && i % kNumbersPerLine == 0) {
      AppendLineBreak(indent + 1);
    } else if (i != 0) {
      text_ += ' ';
    }
    text_ += format(list[i]);
  }
  if (wrapped) {
    AppendLineBreak(indent);
  }
  text_ += "]";
}

void ValueTextWriter::AppendLineBreak(int indent) {
  text_ += '\n';
  text_.append(static_cast<size_t>(indent * kIndentWidth), ' ');
}

}  // namespace stdcodec
