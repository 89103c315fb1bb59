#include "tools/stdcodec/value_text_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace stdcodec {
namespace {

using flutter::EncodableValue;
using flutter::ValueList;
using flutter::ValueMap;

TEST(ValueTextWriterTest, NamesTheKindOfEveryScalar) {
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue()), "null");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(true)), "bool true");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(false)), "bool false");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(int32_t{-2})), "int32 -2");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::numeric_limits<int64_t>::min())),
            "int64 -9223372036854775808");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(1.5)), "double 1.5");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue("ab")), "string \"ab\"");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::vector<uint8_t>{0x00, 0x0A, 0xFF})),
            "bytes [00 0A FF]");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::vector<int32_t>{1, -2})),
            "int32 list [1, -2]");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::vector<int64_t>{})), "int64 list []");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::vector<double>{0.5, -0.0})),
            "double list [0.5, -0]");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::vector<float>{0.1F})),
            "float32 list [0.1]");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(ValueList{})), "list []");
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(ValueMap{})), "map {}");
}

TEST(ValueTextWriterTest, IndentsNestedListsAndMaps) {
  ValueMap inner;
  inner[EncodableValue("path")] = EncodableValue("ab");
  ValueMap keyed;
  keyed[EncodableValue(ValueList{EncodableValue(int32_t{1})})] = EncodableValue(ValueMap{});
  ValueList list{EncodableValue(), EncodableValue(inner), EncodableValue(keyed),
                 EncodableValue(ValueList{})};
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(list)),
            "list [\n"
            "  null,\n"
            "  map {\n"
            "    string \"path\": string \"ab\"\n"
            "  },\n"
            "  map {\n"
            "    list [\n"
            "      int32 1\n"
            "    ]: map {}\n"
            "  },\n"
            "  list []\n"
            "]");
}

TEST(ValueTextWriterTest, WrapsLongArraysAtTheirNestingDepth) {
  std::vector<uint8_t> bytes(17);
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<uint8_t>(i);
  }
  std::vector<int32_t> numbers{1, 2, 3, 4, 5, 6, 7, 8, 9};
  ValueList list{EncodableValue(bytes), EncodableValue(numbers)};
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(list)),
            "list [\n"
            "  bytes [\n"
            "    00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\n"
            "    10\n"
            "  ],\n"
            "  int32 list [\n"
            "    1, 2, 3, 4, 5, 6, 7, 8,\n"
            "    9\n"
            "  ]\n"
            "]");
  // At the limit an array still fits on one line.
  EXPECT_EQ(ValueTextWriter::FormatValue(EncodableValue(std::vector<int32_t>(8, 0))),
            "int32 list [0, 0, 0, 0, 0, 0, 0, 0]");
}

TEST(ValueTextWriterTest, FormatsEveryMessageForm) {
  Message call;
  call.kind = MessageKind::kCall;
  call.name = "recognize";
  EXPECT_EQ(ValueTextWriter::FormatMessage(call), "method \"recognize\"\nargs null\n");

  Message success;
  success.kind = MessageKind::kEnvelope;
  success.value = EncodableValue("ok");
  EXPECT_EQ(ValueTextWriter::FormatMessage(success), "success string \"ok\"\n");

  Message error;
  error.kind = MessageKind::kEnvelope;
  error.reply = Message::Reply::kError;
  error.name = "bad_args";
  error.error_message = "Chemin absent";
  error.value = EncodableValue(int32_t{1});
  EXPECT_EQ(ValueTextWriter::FormatMessage(error),
            "error \"bad_args\"\nmessage \"Chemin absent\"\ndetails int32 1\n");

  Message not_implemented;
  not_implemented.kind = MessageKind::kEnvelope;
  not_implemented.reply = Message::Reply::kNotImplemented;
  EXPECT_EQ(ValueTextWriter::FormatMessage(not_implemented), "not implemented\n");

  Message value;
  value.value = EncodableValue(ValueList{EncodableValue()});
  EXPECT_EQ(ValueTextWriter::FormatMessage(value), "list [\n  null\n]\n");
}

TEST(ValueTextWriterTest, EscapesWhatIsNotPrintableTextOnly) {
  using std::string_literals::operator""s;
  EXPECT_EQ(ValueTextWriter::QuoteString("a \"b\" \\ c"), R"("a \"b\" \\ c")");
  EXPECT_EQ(ValueTextWriter::QuoteString("\n\r\t"), R"("\n\r\t")");
  EXPECT_EQ(ValueTextWriter::QuoteString("\x00\x01\x1F\x7F"s), R"("\x00\x01\x1F\x7F")");
  // Well-formed UTF-8 of two, three and four bytes stands as it is.
  EXPECT_EQ(ValueTextWriter::QuoteString("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E"),
            "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E\"");
  // U+0085, a C1 control.
  EXPECT_EQ(ValueTextWriter::QuoteString("\xC2\x85"), R"("\xC2\x85")");
  // A stray continuation byte, an overlong NUL and slash, a surrogate, a code
  // point past U+10FFFF, a truncated sequence and a byte that never starts one.
  EXPECT_EQ(ValueTextWriter::QuoteString("\x80"), R"("\x80")");
  EXPECT_EQ(ValueTextWriter::QuoteString("\xC0\x80\xE0\x80\xAF"), R"("\xC0\x80\xE0\x80\xAF")");
  EXPECT_EQ(ValueTextWriter::QuoteString("\xED\xA0\x80"), R"("\xED\xA0\x80")");
  EXPECT_EQ(ValueTextWriter::QuoteString("\xF4\x90\x80\x80"), R"("\xF4\x90\x80\x80")");
  EXPECT_EQ(ValueTextWriter::QuoteString("\xE2\x82"), R"("\xE2\x82")");
  // Only the bad byte is escaped; the valid sequence after it is kept.
  EXPECT_EQ(ValueTextWriter::QuoteString("\xFF\xC3\xA9"), "\"\\xFF\xC3\xA9\"");
}

TEST(ValueTextWriterTest, FormatsDoublesShortestAndExact) {
  EXPECT_EQ(ValueTextWriter::FormatDouble(0.1), "0.1");
  EXPECT_EQ(ValueTextWriter::FormatDouble(1.0), "1");
  EXPECT_EQ(ValueTextWriter::FormatDouble(-0.0), "-0");
  EXPECT_EQ(ValueTextWriter::FormatDouble(1e300), "1e+300");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::numeric_limits<double>::denorm_min()), "5e-324");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::numeric_limits<double>::max()),
            "1.7976931348623157e+308");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(ValueTextWriter::FormatDouble(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::bit_cast<double>(uint64_t{0x7FF8000000000000})),
            "nan");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::bit_cast<double>(uint64_t{0xFFF8000000000000})),
            "-nan");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::bit_cast<double>(uint64_t{0x7FF0000000000001})),
            "nan(0x7FF0000000000001)");
  EXPECT_EQ(ValueTextWriter::FormatDouble(std::bit_cast<double>(uint64_t{0xFFF8000000000002})),
            "nan(0xFFF8000000000002)");
}

TEST(ValueTextWriterTest, FormatsFloatsWithFloatPrecision) {
  EXPECT_EQ(ValueTextWriter::FormatFloat(0.1F), "0.1");
  EXPECT_EQ(ValueTextWriter::FormatFloat(16777216.0F), "16777216");
  EXPECT_EQ(ValueTextWriter::FormatFloat(std::numeric_limits<float>::denorm_min()), "1e-45");
  EXPECT_EQ(ValueTextWriter::FormatFloat(-0.0F), "-0");
  EXPECT_EQ(ValueTextWriter::FormatFloat(std::bit_cast<float>(uint32_t{0x7FC00000})), "nan");
  EXPECT_EQ(ValueTextWriter::FormatFloat(std::bit_cast<float>(uint32_t{0xFFC00000})), "-nan");
  EXPECT_EQ(ValueTextWriter::FormatFloat(std::bit_cast<float>(uint32_t{0x7F800001})),
            "nan(0x7F800001)");
}

}  // namespace
}  // namespace stdcodec
