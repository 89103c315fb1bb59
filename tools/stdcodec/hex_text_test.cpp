#include "tools/stdcodec/hex_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace stdcodec {
namespace {

TEST(HexTextTest, FormatsSixteenUpperCasePairsToALine) {
  EXPECT_EQ(FormatHex({}), "");
  EXPECT_EQ(FormatHex({0x07, 0xAB}), "07 AB\n");
  std::vector<uint8_t> bytes(17);
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>(i * 16 + 15);
  }
  EXPECT_EQ(FormatHex(bytes),
            "0F 1F 2F 3F 4F 5F 6F 7F 8F 9F AF BF CF DF EF FF\n"
            "0F\n");
  bytes.pop_back();
  EXPECT_EQ(FormatHex(bytes), "0F 1F 2F 3F 4F 5F 6F 7F 8F 9F AF BF CF DF EF FF\n");
}

TEST(HexTextTest, ParsesPairsWithOrWithoutWhiteSpace) {
  std::vector<uint8_t> bytes;
  TextError error;
  ASSERT_TRUE(ParseHex(" 07 09\n\tabCD\r\nff ", &bytes, &error));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x07, 0x09, 0xAB, 0xCD, 0xFF}));
  ASSERT_TRUE(ParseHex("", &bytes, &error));
  EXPECT_TRUE(bytes.empty());
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) {
    all[i] = static_cast<uint8_t>(i);
  }
  ASSERT_TRUE(ParseHex(FormatHex(all), &bytes, &error));
  EXPECT_EQ(bytes, all);
}

TEST(HexTextTest, RejectsWhatIsNotWholePairs) {
  struct Case {
    std::string text;
    int line;
    int column;
    std::string message;
  };
  const std::vector<Case> cases{
      {"07 0", 1, 5, "expected the second hex digit of a byte, found the end of the text"},
      {"0 7", 1, 2, "expected the second hex digit of a byte, found byte 0x20"},
      {"07\n0x09", 2, 2, "expected the second hex digit of a byte, found 'x'"},
      {"07 g9", 1, 4, "expected a hex digit, found 'g'"},
      {"07,09", 1, 3, "expected a hex digit, found ','"},
      {"\xFF", 1, 1, "expected a hex digit, found byte 0xFF"},
  };
  for (const Case& bad : cases) {
    std::vector<uint8_t> bytes;
    TextError error;
    EXPECT_FALSE(ParseHex(bad.text, &bytes, &error)) << bad.text;
    EXPECT_EQ(error.message, bad.message) << bad.text;
    EXPECT_EQ(error.line, bad.line) << bad.text;
    EXPECT_EQ(error.column, bad.column) << bad.text;
  }
}

}  // namespace
}  // namespace stdcodec
