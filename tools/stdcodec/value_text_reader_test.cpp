#include "tools/stdcodec/value_text_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "codec/byte_buffer_stream_writer.h"
#include "codec/standard_codec_serializer.h"
#include "tools/stdcodec/value_text_writer.h"

namespace stdcodec {
namespace {

using flutter::EncodableValue;
using flutter::ValueList;
using flutter::ValueMap;

// The wire bytes of `value`: equal bytes mean equal content, down to NaN
// payloads and the sign of zero, which the ordering of values cannot tell.
std::vector<uint8_t> Encoded(const EncodableValue& value) {
  std::vector<uint8_t> bytes;
  flutter::ByteBufferStreamWriter writer(&bytes);
  flutter::SharedSerializer().WriteValue(value, &writer);
  return bytes;
}

Message ReadOrFail(MessageKind kind, std::string_view text) {
  ValueTextReader reader(text);
  Message message;
  EXPECT_TRUE(reader.ReadMessage(kind, &message)) << text << "\n" << reader.error().ToString();
  return message;
}

EncodableValue ReadValue(std::string_view text) {
  return ReadOrFail(MessageKind::kValue, text).value;
}

void ExpectRoundTrip(const EncodableValue& value) {
  std::string text = ValueTextWriter::FormatValue(value);
  EXPECT_EQ(Encoded(ReadValue(text)), Encoded(value)) << text;
}

TEST(ValueTextReaderTest, RoundTripsEveryKind) {
  ValueMap map;
  map[EncodableValue(int32_t{7})] = EncodableValue(int64_t{7});
  map[EncodableValue(int64_t{7})] = EncodableValue();
  map[EncodableValue("")] = EncodableValue(ValueList{EncodableValue(ValueMap{})});
  map[EncodableValue(ValueList{EncodableValue(1.5)})] = EncodableValue(false);
  ValueList every{
      EncodableValue(),
      EncodableValue(true),
      EncodableValue(false),
      EncodableValue(std::numeric_limits<int32_t>::min()),
      EncodableValue(std::numeric_limits<int32_t>::max()),
      EncodableValue(std::numeric_limits<int64_t>::min()),
      EncodableValue(std::numeric_limits<int64_t>::max()),
      EncodableValue(-0.0),
      EncodableValue(std::string("a\0b", 3)),
      EncodableValue(std::vector<uint8_t>{}),
      EncodableValue(std::vector<uint8_t>(40, 0xAB)),
      EncodableValue(std::vector<int32_t>{std::numeric_limits<int32_t>::min(), 0, 1}),
      EncodableValue(std::vector<int64_t>(20, std::numeric_limits<int64_t>::max())),
      EncodableValue(std::vector<double>{0.1, -0.0, std::numeric_limits<double>::infinity()}),
      EncodableValue(std::vector<float>{0.1F, -std::numeric_limits<float>::infinity()}),
      EncodableValue(ValueList{}),
      EncodableValue(ValueMap{}),
      EncodableValue(map),
  };
  for (const EncodableValue& value : every) {
    ExpectRoundTrip(value);
  }
  ExpectRoundTrip(EncodableValue(every));
}

TEST(ValueTextReaderTest, RoundTripsTrickyDoublesBitForBit) {
  std::vector<uint64_t> patterns{
      0x0000000000000000, 0x8000000000000000,  // zeros
      0x0000000000000001, 0x000FFFFFFFFFFFFF,  // smallest and largest subnormal
      0x0010000000000000, 0x7FEFFFFFFFFFFFFF,  // smallest normal, largest finite
      0x3FB999999999999A, 0x3FD5555555555555,  // 0.1, 1/3
      0x4340000000000001, 0xC340000000000001,  // 2^54 + 2 and its negative
      0x7FF0000000000000, 0xFFF0000000000000,  // infinities
      0x7FF8000000000000, 0xFFF8000000000000,  // the default quiet NaNs
      0x7FF0000000000001, 0xFFFFFFFFFFFFFFFF,  // signalling and all-ones NaNs
      0x7FF4000000000000,
  };
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 20000; ++i) {
    patterns.push_back(random());
  }
  for (uint64_t bits : patterns) {
    auto number = std::bit_cast<double>(bits);
    std::string text = "double " + ValueTextWriter::FormatDouble(number);
    EncodableValue value = ReadValue(text);
    const double* read = value.GetIf<double>();
    ASSERT_NE(read, nullptr) << text;
    EXPECT_EQ(std::bit_cast<uint64_t>(*read), bits) << text;
  }
}

TEST(ValueTextReaderTest, RoundTripsTrickyFloatsBitForBit) {
  std::vector<uint32_t> patterns{
      0x00000000, 0x80000000, 0x00000001, 0x007FFFFF, 0x00800000, 0x7F7FFFFF, 0x3DCCCCCD,
      0x7F800000, 0xFF800000, 0x7FC00000, 0xFFC00000, 0x7F800001, 0xFFFFFFFF, 0x4B800001,
  };
  std::mt19937 random(20240601);
  for (int i = 0; i < 20000; ++i) {
    patterns.push_back(random());
  }
  std::vector<float> numbers;
  for (uint32_t bits : patterns) {
    numbers.push_back(std::bit_cast<float>(bits));
  }
  std::string text = ValueTextWriter::FormatValue(EncodableValue(numbers));
  EncodableValue value = ReadValue(text);
  const auto* read = value.GetIf<std::vector<float>>();
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->size(), patterns.size());
  for (size_t i = 0; i < patterns.size(); ++i) {
    EXPECT_EQ(std::bit_cast<uint32_t>((*read)[i]), patterns[i])
        << ValueTextWriter::FormatFloat(numbers[i]);
  }
}

TEST(ValueTextReaderTest, RoundTripsStringsOfEveryByte) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    std::string alone(1, static_cast<char>(byte));
    ExpectRoundTrip(EncodableValue(alone));
    all += alone;
  }
  ExpectRoundTrip(EncodableValue(all));
  // Random bytes make every pairing of lead and continuation bytes, so
  // sequences that are nearly UTF-8 come up too.
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(random() % 12, '\0');
    for (char& byte : bytes) {
      byte = static_cast<char>(random() % 4 == 0 ? 0x80 + random() % 0x80 : random() % 256);
    }
    ExpectRoundTrip(EncodableValue(bytes));
  }
}

TEST(ValueTextReaderTest, ReadsHandWrittenText) {
  EncodableValue value = ReadValue(
      "# a comment\n"
      "list[int32 1,int32   -2 ,  # after an element\n"
      "\tstring \"\\x41\\n\\\"\",bytes[0a0B ff],double list [.5, 1e3, -nan,],map{null:null,},\n"
      "]\n");
  ValueMap map;
  map[EncodableValue()] = EncodableValue();
  ValueList expected{
      EncodableValue(int32_t{1}),
      EncodableValue(int32_t{-2}),
      EncodableValue("A\n\""),
      EncodableValue(std::vector<uint8_t>{0x0A, 0x0B, 0xFF}),
      EncodableValue(std::vector<double>{0.5, 1000, -std::numeric_limits<double>::quiet_NaN()}),
      EncodableValue(map),
  };
  EXPECT_EQ(Encoded(value), Encoded(EncodableValue(expected)));
  // Raw bytes that are not control bytes stand for themselves, valid UTF-8 or not.
  EXPECT_EQ(Encoded(ReadValue("string \"\xC3\xA9\xFF\"")), Encoded(EncodableValue("\xC3\xA9\xFF")));
}

TEST(ValueTextReaderTest, ReadsEveryMessageForm) {
  Message call = ReadOrFail(MessageKind::kCall,
                            "method \"recognize\"\nargs map {string \"path\": string \"ab\"}");
  EXPECT_EQ(call.kind, MessageKind::kCall);
  EXPECT_EQ(call.name, "recognize");
  ValueMap args;
  args[EncodableValue("path")] = EncodableValue("ab");
  EXPECT_EQ(Encoded(call.value), Encoded(EncodableValue(args)));

  Message success = ReadOrFail(MessageKind::kEnvelope, "success int32 5");
  EXPECT_EQ(success.reply, Message::Reply::kSuccess);
  EXPECT_EQ(Encoded(success.value), Encoded(EncodableValue(int32_t{5})));

  Message error =
      ReadOrFail(MessageKind::kEnvelope, "error \"bad_args\" message \"\" details list [null]");
  EXPECT_EQ(error.reply, Message::Reply::kError);
  EXPECT_EQ(error.name, "bad_args");
  EXPECT_EQ(error.error_message, "");
  EXPECT_EQ(Encoded(error.value), Encoded(EncodableValue(ValueList{EncodableValue()})));

  Message not_implemented = ReadOrFail(MessageKind::kEnvelope, "  not\n implemented # empty\n");
  EXPECT_EQ(not_implemented.reply, Message::Reply::kNotImplemented);
}

TEST(ValueTextReaderTest, NestsAsDeepAsTheCodecDecodesAndNoDeeper) {
  const int limit = flutter::StandardCodecSerializer::kMaxNestingDepth;
  std::string deepest;
  for (int i = 0; i < limit; ++i) {
    deepest += "list [";
  }
  deepest += std::string(limit, ']');
  ReadValue(deepest);
  // Maps count as levels too.
  ReadValue("map { null: " + deepest.substr(6, deepest.size() - 7) + "}");

  std::string too_deep = "map {null: " + deepest + "}";
  ValueTextReader reader(too_deep);
  Message message;
  EXPECT_FALSE(reader.ReadMessage(MessageKind::kValue, &message));
  EXPECT_EQ(reader.error().line, 1);
  // At the bracket of the innermost list.
  EXPECT_EQ(reader.error().column, 11 + (limit - 1) * 6 + 6);
  EXPECT_EQ(reader.error().message,
            "lists and maps nested deeper than 128 levels, the most the codec decodes");
}

struct BadText {
  MessageKind kind;
  std::string text;
  int line;
  int column;
  std::string message;
};

constexpr const char* kExpectedValue =
    "expected a value (null, bool, int32, int64, double, string, bytes, int32 list, int64 list, "
    "double list, float32 list, list or map), found ";

TEST(ValueTextReaderTest, ReportsWhereAndWhatWasExpected) {
  const MessageKind value = MessageKind::kValue;
  const std::vector<BadText> cases{
      {value, "", 1, 1, std::string(kExpectedValue) + "the end of the text"},
      {value, "nul", 1, 1, std::string(kExpectedValue) + "'nul'"},
      {value, "custom", 1, 1, std::string(kExpectedValue) + "'custom'"},
      {value, "@", 1, 1, std::string(kExpectedValue) + "'@'"},
      {value, "bool maybe", 1, 6, "expected 'true' or 'false', found 'maybe'"},
      {value, "int32 2147483648", 1, 7, "int32 out of range: '2147483648'"},
      {value, "int64 -9223372036854775809", 1, 7, "int64 out of range: '-9223372036854775809'"},
      {value, "int32 1.5", 1, 7, "expected an int32 number, found '1.5'"},
      {value, "int32 +1", 1, 7, "expected an int32 number, found '+1'"},
      {value, "double 1e400", 1, 8, "double out of range: '1e400'"},
      {value, "double infinity", 1, 8, "expected a double number, found 'infinity'"},
      {value, "double 0x1p3", 1, 8, "expected a double number, found '0x1p3'"},
      {value, "double nan(0x7FF0000000000000)", 1, 8,
       "expected nan(0x...) to hold the bits of a double NaN, found 'nan(0x7FF0000000000000)'"},
      {value, "float32 list [nan(0x7FF8000000000000)]", 1, 15,
       "expected nan(0x...) to hold the bits of a float32 NaN, found 'nan(0x7FF8000000000000)'"},
      {value, "float32 1.5", 1, 9,
       "expected 'list' (float32 values come only in lists), found '1.5'"},
      {value, "float32 list [1e39]", 1, 15, "float32 out of range: '1e39'"},
      {value, "string abc", 1, 8, "expected a string in double quotes, found 'abc'"},
      {value, "string \"abc", 1, 8, "string not closed before the end of its line"},
      {value, "string \"ab\nc\"", 1, 8, "string not closed before the end of its line"},
      {value, "string \"a\\qb\"", 1, 10,
       "unknown escape in a string (known: \\\" \\\\ \\n \\r \\t \\xHH)"},
      {value, "string \"\\x4\"", 1, 9, "expected two hex digits after \\x"},
      {value, "string \"a\tb\"", 1, 10, "byte 0x09 in a string: write it as the escape \\x09"},
      {value, "bytes [0A B]", 1, 11, "expected a byte as two hex digits, or ']', found 'B'"},
      {value, "bytes 0A", 1, 7, "expected '[', found '0A'"},
      {value, "list [null null]", 1, 12, "expected ',' or ']', found 'null'"},
      {value, "list [null,,]", 1, 12, std::string(kExpectedValue) + "','"},
      {value, "list [null", 1, 11, "expected ',' or ']', found the end of the text"},
      {value, "map {int32 1 null}", 1, 14, "expected ':', found 'null'"},
      {value, "map {int32 1: null, int32 1: bool true}", 1, 21,
       "map key equal to an earlier key of the same map"},
      {value, "null null", 1, 6, "expected the end of the text, found 'null'"},
      {value, "list [\n  int32 x\n]", 2, 9, "expected an int32 number, found 'x'"},
      {value, "string \"" + std::string(50, 'a') + "\" " + std::string(50, 'b'), 1, 61,
       "expected the end of the text, found '" + std::string(40, 'b') + "...'"},
      {MessageKind::kCall, "method 5", 1, 8, "expected a string in double quotes, found '5'"},
      {MessageKind::kCall, "method \"m\"\n", 2, 1, "expected 'args', found the end of the text"},
      {MessageKind::kCall, "args null", 1, 1, "expected 'method', found 'args'"},
      {MessageKind::kEnvelope, "failure", 1, 1,
       "expected 'success', 'error' or 'not implemented', found 'failure'"},
      {MessageKind::kEnvelope, "error \"c\" details null", 1, 11,
       "expected 'message', found 'details'"},
      {MessageKind::kEnvelope, "not done", 1, 5, "expected 'implemented', found 'done'"},
  };
  for (const BadText& bad : cases) {
    ValueTextReader reader(bad.text);
    Message message;
    EXPECT_FALSE(reader.ReadMessage(bad.kind, &message)) << bad.text;
    EXPECT_EQ(reader.error().message, bad.message) << bad.text;
    EXPECT_EQ(reader.error().line, bad.line) << bad.text;
    EXPECT_EQ(reader.error().column, bad.column) << bad.text;
  }
}

TEST(ValueTextReaderTest, ErrorTextNamesLineAndColumn) {
  ValueTextReader reader("list [\n  nul\n]");
  Message message;
  ASSERT_FALSE(reader.ReadMessage(MessageKind::kValue, &message));
  EXPECT_EQ(reader.error().ToString(),
            "line 2, column 3: " + std::string(kExpectedValue) + "'nul'");
}

}  // namespace
}  // namespace stdcodec
