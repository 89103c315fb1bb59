#ifndef CODEC_HEX_TEST_SUPPORT_H_
#define CODEC_HEX_TEST_SUPPORT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace codec_test {

// "07 FE 2C 01" to its bytes. Spaces are ignored; the text is trusted to hold
// pairs of hex digits.
inline std::vector<uint8_t> Hex(std::string_view text) {
  std::vector<uint8_t> bytes;
  std::string digits;
  for (char c : text) {
    if (c != ' ') {
      digits.push_back(c);
    }
  }
  for (size_t i = 0; i + 2 <= digits.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

}  // namespace codec_test

#endif  // CODEC_HEX_TEST_SUPPORT_H_
