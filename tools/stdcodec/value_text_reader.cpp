#include "tools/stdcodec/value_text_reader.h"

#include <bit>
#include <charconv>
#include <system_error>
#include <type_traits>
#include <utility>

#include "codec/standard_codec_serializer.h"
#include "tools/stdcodec/hex_text.h"

namespace stdcodec {

using flutter::EncodableValue;

namespace {

constexpr size_t kMaxDescribedWord = 40;
constexpr char kDigits[] = "0123456789ABCDEF";

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '+' || c == '-' || c == '(' || c == ')';
}

std::string DescribeByte(uint8_t byte) {
  if (byte > 0x20 && byte < 0x7F) {
    return std::string("'") + static_cast<char>(byte) + "'";
  }
  return std::string("byte 0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

// Parts of the bit pattern of a double (Bits = uint64_t) or a float (uint32_t).
template <typename Bits>
constexpr Bits kSignBit = Bits{1} << (sizeof(Bits) * 8 - 1);
template <typename Bits>
constexpr Bits kExponentBits = sizeof(Bits) == 8 ? Bits(0x7FF0000000000000) : Bits(0x7F800000);
template <typename Bits>
constexpr Bits kQuietNanBits = sizeof(Bits) == 8 ? Bits(0x7FF8000000000000) : Bits(0x7FC00000);

template <typename Bits>
bool IsNanBits(Bits bits) {
  return (bits & kExponentBits<Bits>) == kExponentBits<Bits> &&
         (bits & ~(kExponentBits<Bits> | kSignBit<Bits>)) != 0;
}

template <typename T>
std::string KindName() {
  if constexpr (std::is_same_v<T, int32_t>) {
    return "int32";
  } else if constexpr (std::is_same_v<T, int64_t>) {
    return "int64";
  } else if constexpr (std::is_same_v<T, double>) {
    return "double";
  } else {
    static_assert(std::is_same_v<T, float>);
    return "float32";
  }
}

}  // namespace

ValueTextReader::ValueTextReader(std::string_view text) : text_(text) {}

bool ValueTextReader::ReadMessage(MessageKind kind, Message* message) {
  message->kind = kind;
  switch (kind) {
    case MessageKind::kValue:
      if (!ReadValue(&message->value)) {
        return false;
      }
      break;
    case MessageKind::kCall:
      if (!ExpectWord("method") || !ReadString(&message->name) || !ExpectWord("args") ||
          !ReadValue(&message->value)) {
        return false;
      }
      break;
    case MessageKind::kEnvelope: {
      SkipSpace();
      std::string_view word = PeekWord();
      if (word == "success") {
        position_ += word.size();
        message->reply = Message::Reply::kSuccess;
        if (!ReadValue(&message->value)) {
          return false;
        }
      } else if (word == "error") {
        position_ += word.size();
        message->reply = Message::Reply::kError;
        if (!ReadString(&message->name) || !ExpectWord("message") ||
            !ReadString(&message->error_message) || !ExpectWord("details") ||
            !ReadValue(&message->value)) {
          return false;
        }
      } else if (word == "not") {
        position_ += word.size();
        message->reply = Message::Reply::kNotImplemented;
        if (!ExpectWord("implemented")) {
          return false;
        }
      } else {
        return Fail(position_,
                    "expected 'success', 'error' or 'not implemented', found " + DescribeNext());
      }
      break;
    }
  }
  return ExpectEnd();
}

bool ValueTextReader::ReadValue(EncodableValue* value) {
  SkipSpace();
  size_t start = position_;
  std::string_view word = PeekWord();
  position_ += word.size();
  if (word == "null") {
    *value = EncodableValue();
    return true;
  }
  if (word == "bool") {
    SkipSpace();
    std::string_view truth = PeekWord();
    if (truth != "true" && truth != "false") {
      return Fail(position_, "expected 'true' or 'false', found " + DescribeNext());
    }
    position_ += truth.size();
    *value = EncodableValue(truth == "true");
    return true;
  }
  if (word == "int32" || word == "int64" || word == "double" || word == "float32") {
    SkipSpace();
    std::string_view next = PeekWord();
    bool is_list = next == "list";
    if (is_list) {
      position_ += next.size();
    }
    if (word == "int32") {
      return ReadNumbers<int32_t>(is_list, value);
    }
    if (word == "int64") {
      return ReadNumbers<int64_t>(is_list, value);
    }
    if (word == "double") {
      return ReadNumbers<double>(is_list, value);
    }
    if (!is_list) {
      return Fail(position_,
                  "expected 'list' (float32 values come only in lists), found " + DescribeNext());
    }
    return ReadNumbers<float>(true, value);
  }
  if (word == "string") {
    std::string bytes;
    if (!ReadString(&bytes)) {
      return false;
    }
    *value = EncodableValue(std::move(bytes));
    return true;
  }
  if (word == "bytes") {
    std::vector<uint8_t> bytes;
    if (!ReadBytes(&bytes)) {
      return false;
    }
    *value = EncodableValue(std::move(bytes));
    return true;
  }
  if (word == "list") {
    flutter::ValueList list;
    if (!ReadList(&list)) {
      return false;
    }
    *value = EncodableValue(std::move(list));
    return true;
  }
  if (word == "map") {
    flutter::ValueMap map;
    if (!ReadMap(&map)) {
      return false;
    }
    *value = EncodableValue(std::move(map));
    return true;
  }
  position_ = start;
  return Fail(start,
              "expected a value (null, bool, int32, int64, double, string, bytes, int32 list, "
              "int64 list, double list, float32 list, list or map), found " +
                  DescribeNext());
}

template <typename T>
bool ValueTextReader::ReadNumbers(bool is_list, EncodableValue* value) {
  if (!is_list) {
    T number;
    if (!ReadNumber(&number)) {
      return false;
    }
    *value = EncodableValue(number);
    return true;
  }
  std::vector<T> list;
  if (!ExpectCharacter('[') || !ReadSequence(']', [this, &list] {
        T number;
        if (!ReadNumber(&number)) {
          return false;
        }
        list.push_back(number);
        return true;
      })) {
    return false;
  }
  *value = EncodableValue(std::move(list));
  return true;
}

template <typename T>
bool ValueTextReader::ReadNumber(T* number) {
  SkipSpace();
  size_t start = position_;
  std::string_view word = PeekWord();
  const char* end = word.data() + word.size();
  std::string kind = KindName<T>();
  if constexpr (std::is_integral_v<T>) {
    std::from_chars_result result = std::from_chars(word.data(), end, *number);
    if (result.ec == std::errc::result_out_of_range) {
      return Fail(start, kind + " out of range: " + DescribeNext());
    }
    if (word.empty() || result.ec != std::errc() || result.ptr != end) {
      return Fail(start, "expected an " + kind + " number, found " + DescribeNext());
    }
  } else {
    using Bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
    std::string_view magnitude = word.starts_with('-') ? word.substr(1) : word;
    Bits sign = magnitude.size() != word.size() ? kSignBit<Bits> : 0;
    if (magnitude == "nan") {
      *number = std::bit_cast<T>(kQuietNanBits<Bits> | sign);
    } else if (magnitude == "inf") {
      *number = std::bit_cast<T>(kExponentBits<Bits> | sign);
    } else if (word.starts_with("nan(0x") && word.ends_with(')')) {
      std::string_view digits = word.substr(6, word.size() - 7);
      Bits bits = 0;
      std::from_chars_result result =
          std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
      if (digits.empty() || digits.size() > sizeof(Bits) * 2 || result.ec != std::errc() ||
          result.ptr != digits.data() + digits.size() || !IsNanBits(bits)) {
        return Fail(start, "expected nan(0x...) to hold the bits of a " + kind + " NaN, found " +
                               DescribeNext());
      }
      *number = std::bit_cast<T>(bits);
    } else {
      // from_chars alone would also take spellings such as "infinity".
      bool decimal = !magnitude.empty() &&
                     ((magnitude[0] >= '0' && magnitude[0] <= '9') || magnitude[0] == '.');
      std::from_chars_result result = std::from_chars(word.data(), end, *number);
      if (decimal && result.ec == std::errc::result_out_of_range) {
        return Fail(start, kind + " out of range: " + DescribeNext());
      }
      if (!decimal || result.ec != std::errc() || result.ptr != end) {
        return Fail(start, "expected a " + kind + " number, found " + DescribeNext());
      }
    }
  }
  position_ += word.size();
  return true;
}

bool ValueTextReader::ReadString(std::string* bytes) {
  SkipSpace();
  if (position_ == text_.size() || text_[position_] != '"') {
    return Fail(position_, "expected a string in double quotes, found " + DescribeNext());
  }
  size_t start = position_++;
  bytes->clear();
  while (position_ < text_.size()) {
    auto byte = static_cast<uint8_t>(text_[position_]);
    if (byte == '"') {
      ++position_;
      return true;
    }
    if (byte == '\n') {
      break;
    }
    if (byte < 0x20 || byte == 0x7F) {
      return Fail(position_, DescribeByte(byte) + " in a string: write it as the escape \\x" +
                                 kDigits[byte >> 4] + kDigits[byte & 0xF]);
    }
    if (byte != '\\') {
      bytes->push_back(static_cast<char>(byte));
      ++position_;
      continue;
    }
    size_t escape = position_++;
    char kind = position_ < text_.size() ? text_[position_] : '\0';
    ++position_;
    switch (kind) {
      case '"':
      case '\\':
        bytes->push_back(kind);
        continue;
      case 'n':
        bytes->push_back('\n');
        continue;
      case 'r':
        bytes->push_back('\r');
        continue;
      case 't':
        bytes->push_back('\t');
        continue;
      case 'x': {
        int high = position_ < text_.size() ? HexDigitValue(text_[position_]) : -1;
        int low = position_ + 1 < text_.size() ? HexDigitValue(text_[position_ + 1]) : -1;
        if (high < 0 || low < 0) {
          return Fail(escape, "expected two hex digits after \\x");
        }
        bytes->push_back(static_cast<char>(high << 4 | low));
        position_ += 2;
        continue;
      }
      default:
        return Fail(escape, "unknown escape in a string (known: \\\" \\\\ \\n \\r \\t \\xHH)");
    }
  }
  return Fail(start, "string not closed before the end of its line");
}

bool ValueTextReader::ReadBytes(std::vector<uint8_t>* bytes) {
  if (!ExpectCharacter('[')) {
    return false;
  }
  while (true) {
    SkipSpace();
    if (position_ < text_.size() && text_[position_] == ']') {
      ++position_;
      return true;
    }
    int high = position_ < text_.size() ? HexDigitValue(text_[position_]) : -1;
    int low = position_ + 1 < text_.size() ? HexDigitValue(text_[position_ + 1]) : -1;
    if (high < 0 || low < 0) {
      return Fail(position_, "expected a byte as two hex digits, or ']', found " + DescribeNext());
    }
    bytes->push_back(static_cast<uint8_t>(high << 4 | low));
    position_ += 2;
  }
}

bool ValueTextReader::ReadList(flutter::ValueList* list) {
  if (!EnterNesting('[') || !ReadSequence(']', [this, list] {
        EncodableValue element;
        if (!ReadValue(&element)) {
          return false;
        }
        list->push_back(std::move(element));
        return true;
      })) {
    return false;
  }
  --depth_;
  return true;
}

bool ValueTextReader::ReadMap(flutter::ValueMap* map) {
  if (!EnterNesting('{') || !ReadSequence('}', [this, map] {
        SkipSpace();
        size_t key_start = position_;
        EncodableValue key;
        EncodableValue entry;
        if (!ReadValue(&key) || !ExpectCharacter(':') || !ReadValue(&entry)) {
          return false;
        }
        // The decoder would keep only the first entry of such a key.
        if (!map->try_emplace(std::move(key), std::move(entry)).second) {
          return Fail(key_start, "map key equal to an earlier key of the same map");
        }
        return true;
      })) {
    return false;
  }
  --depth_;
  return true;
}

template <typename ReadElement>
bool ValueTextReader::ReadSequence(char close, ReadElement read_element) {
  while (true) {
    SkipSpace();
    if (position_ < text_.size() && text_[position_] == close) {
      ++position_;
      return true;
    }
    if (!read_element()) {
      return false;
    }
    SkipSpace();
    if (position_ < text_.size() && text_[position_] == ',') {
      ++position_;
    } else if (position_ == text_.size() || text_[position_] != close) {
      return Fail(position_,
                  std::string("expected ',' or '") + close + "', found " + DescribeNext());
    }
  }
}

bool ValueTextReader::ExpectCharacter(char c) {
  SkipSpace();
  if (position_ == text_.size() || text_[position_] != c) {
    return Fail(position_, std::string("expected '") + c + "', found " + DescribeNext());
  }
  ++position_;
  return true;
}

bool ValueTextReader::EnterNesting(char open) {
  SkipSpace();
  if (depth_ == flutter::StandardCodecSerializer::kMaxNestingDepth) {
    return Fail(position_, "lists and maps nested deeper than " +
                               std::to_string(flutter::StandardCodecSerializer::kMaxNestingDepth) +
                               " levels, the most the codec decodes");
  }
  if (!ExpectCharacter(open)) {
    return false;
  }
  ++depth_;
  return true;
}

bool ValueTextReader::ExpectWord(std::string_view word) {
  SkipSpace();
  if (PeekWord() != word) {
    return Fail(position_, "expected '" + std::string(word) + "', found " + DescribeNext());
  }
  position_ += word.size();
  return true;
}

bool ValueTextReader::ExpectEnd() {
  SkipSpace();
  if (position_ != text_.size()) {
    return Fail(position_, "expected the end of the text, found " + DescribeNext());
  }
  return true;
}

std::string_view ValueTextReader::PeekWord() const {
  size_t end = position_;
  while (end < text_.size() && IsWordCharacter(text_[end])) {
    ++end;
  }
  return text_.substr(position_, end - position_);
}

void ValueTextReader::SkipSpace() {
  while (position_ < text_.size()) {
    char c = text_[position_];
    if (c == '#') {
      while (position_ < text_.size() && text_[position_] != '\n') {
        ++position_;
      }
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      ++position_;
    } else {
      return;
    }
  }
}

std::string ValueTextReader::DescribeNext() {
  SkipSpace();
  if (position_ == text_.size()) {
    return "the end of the text";
  }
  if (text_[position_] == '"') {
    return "a string";
  }
  std::string_view word = PeekWord();
  if (word.empty()) {
    return DescribeByte(static_cast<uint8_t>(text_[position_]));
  }
  // Built by appending: GCC 12 at -O3 misreads `"'" + std::string(...)` as
  // an overlapping copy (a false -Wrestrict).
  std::string described = "'";
  if (word.size() > kMaxDescribedWord) {
    described.append(word.substr(0, kMaxDescribedWord)).append("...");
  } else {
    described.append(word);
  }
  described += '\'';
  return described;
}

bool ValueTextReader::Fail(size_t offset, std::string message) {
  error_ = TextError::At(text_, offset, std::move(message));
  return false;
}

}  // namespace stdcodec
