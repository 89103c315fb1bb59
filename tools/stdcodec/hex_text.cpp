#include "tools/stdcodec/hex_text.h"

#include <cstddef>

namespace stdcodec {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr size_t kBytesPerLine = 16;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string Describe(char c) {
  auto byte = static_cast<unsigned char>(c);
  if (byte > 0x20 && byte < 0x7F) {
    return std::string("'") + c + "'";
  }
  return std::string("byte 0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

}  // namespace

std::string FormatHex(const std::vector<uint8_t>& bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (size_t i = 0; i < bytes.size(); ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
    text += (i + 1) % kBytesPerLine == 0 || i + 1 == bytes.size() ? '\n' : ' ';
  }
  return text;
}

bool ParseHex(std::string_view text, std::vector<uint8_t>* bytes, TextError* error) {
  bytes->clear();
  size_t i = 0;
  while (i < text.size()) {
    if (IsSpace(text[i])) {
      ++i;
      continue;
    }
    int high = HexDigitValue(text[i]);
    if (high < 0) {
      *error = TextError::At(text, i, "expected a hex digit, found " + Describe(text[i]));
      return false;
    }
    if (i + 1 == text.size() || HexDigitValue(text[i + 1]) < 0) {
      std::string found = i + 1 == text.size() ? "the end of the text" : Describe(text[i + 1]);
      *error =
          TextError::At(text, i + 1, "expected the second hex digit of a byte, found " + found);
      return false;
    }
    bytes->push_back(static_cast<uint8_t>(high << 4 | HexDigitValue(text[i + 1])));
    i += 2;
  }
  return true;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

}  // namespace stdcodec
