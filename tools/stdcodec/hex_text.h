#ifndef TOOLS_STDCODEC_HEX_TEXT_H_
#define TOOLS_STDCODEC_HEX_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/stdcodec/text_error.h"

namespace stdcodec {

// Upper-case hex pairs separated by spaces, sixteen to a line, every line
// ended by a newline; no bytes give the empty text.
std::string FormatHex(const std::vector<uint8_t>& bytes);

// Reads pairs of hex digits of either case. White space may stand between
// pairs but not inside one, so a dropped digit is caught rather than shifting
// every later byte. False, with `error` set, on anything else.
bool ParseHex(std::string_view text, std::vector<uint8_t>* bytes, TextError* error);

// 0 to 15 for a hex digit of either case, -1 for any other character.
int HexDigitValue(char c);

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_HEX_TEXT_H_
