#include "codec/standard_codec_serializer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <any>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/byte_buffer_stream_writer.h"
#include "codec/custom_encodable_value.h"
#include "codec/encodable_value.h"
#include "codec/hex_test_support.h"

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;

using codec_test::Hex;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

std::string Lines(std::string_view text, size_t count = 1) {
  std::string lines;
  for (size_t i = 0; i < count; ++i) {
    lines += std::string(text) + "\n";
  }
  return lines;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

const std::string_view kInvalidRead = ByteBufferStreamReader::kInvalidReadDiagnostic;

// Leading bytes stand for what precedes a value in a message; they are not
// zero so that padding can be told apart from them.
constexpr uint8_t kLeadingByte = 0xA5;

Bytes Encode(const EncodableValue& value,
             size_t leading = 0,
             const StandardCodecSerializer& serializer = SharedSerializer()) {
  Bytes bytes(leading, kLeadingByte);
  ByteBufferStreamWriter writer(&bytes);
  serializer.WriteValue(value, &writer);
  return bytes;
}

struct Decoded {
  EncodableValue value;
  uint64_t position;
};

// Reads one complete value after `leading` bytes.
Decoded Decode(const Bytes& bytes,
               size_t leading = 0,
               const StandardCodecSerializer& serializer = SharedSerializer()) {
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  Bytes skipped(leading);
  reader.TakeBytes(skipped.data(), leading);
  EncodableValue value = serializer.ReadValue(&reader);
  return {std::move(value), reader.position()};
}

template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// Same kinds and the same content, floating-point numbers bit for bit.
testing::AssertionResult StructurallyEqual(const EncodableValue& a,
                                           const EncodableValue& b,
                                           const std::string& path = "value") {
  if (a.Index() != b.Index()) {
    return testing::AssertionFailure()
           << path << ": kind " << a.Index() << " vs kind " << b.Index();
  }
  bool same = true;
  switch (a.Index()) {
    case EncodableValue::kNull:
      break;
    case EncodableValue::kBool:
      same = a.Get<bool>() == b.Get<bool>();
      break;
    case EncodableValue::kInt32:
      same = a.Get<int32_t>() == b.Get<int32_t>();
      break;
    case EncodableValue::kInt64:
      same = a.Get<int64_t>() == b.Get<int64_t>();
      break;
    case EncodableValue::kDouble:
      same = std::memcmp(&a.Get<double>(), &b.Get<double>(), sizeof(double)) == 0;
      break;
    case EncodableValue::kString:
      same = a.Get<std::string>() == b.Get<std::string>();
      break;
    case EncodableValue::kByteList:
      same = a.Get<std::vector<uint8_t>>() == b.Get<std::vector<uint8_t>>();
      break;
    case EncodableValue::kInt32List:
      same = a.Get<std::vector<int32_t>>() == b.Get<std::vector<int32_t>>();
      break;
    case EncodableValue::kInt64List:
      same = a.Get<std::vector<int64_t>>() == b.Get<std::vector<int64_t>>();
      break;
    case EncodableValue::kDoubleList:
      same = SameBits(a.Get<std::vector<double>>(), b.Get<std::vector<double>>());
      break;
    case EncodableValue::kFloat32List:
      same = SameBits(a.Get<std::vector<float>>(), b.Get<std::vector<float>>());
      break;
    case EncodableValue::kList: {
      const ValueList& left = a.Get<ValueList>();
      const ValueList& right = b.Get<ValueList>();
      if (left.size() != right.size()) {
        return testing::AssertionFailure()
               << path << ": " << left.size() << " vs " << right.size() << " elements";
      }
      for (size_t i = 0; i < left.size(); ++i) {
        testing::AssertionResult element =
            StructurallyEqual(left[i], right[i], path + "[" + std::to_string(i) + "]");
        if (!element) {
          return element;
        }
      }
      break;
    }
    case EncodableValue::kMap: {
      const ValueMap& left = a.Get<ValueMap>();
      const ValueMap& right = b.Get<ValueMap>();
      if (left.size() != right.size()) {
        return testing::AssertionFailure()
               << path << ": " << left.size() << " vs " << right.size() << " entries";
      }
      size_t i = 0;
      for (auto l = left.begin(), r = right.begin(); l != left.end(); ++l, ++r, ++i) {
        const std::string entry_path = path + "{" + std::to_string(i) + "}";
        testing::AssertionResult key = StructurallyEqual(l->first, r->first, entry_path + ".key");
        if (!key) {
          return key;
        }
        testing::AssertionResult value =
            StructurallyEqual(l->second, r->second, entry_path + ".value");
        if (!value) {
          return value;
        }
      }
      break;
    }
    default:
      return testing::AssertionFailure() << path << ": kind " << a.Index() << " is not compared";
  }
  if (!same) {
    return testing::AssertionFailure() << path << ": different content of kind " << a.Index();
  }
  return testing::AssertionSuccess();
}

// (0C 01) `depth - 1` times, then an empty list: `depth` nested lists.
Bytes NestedListMessage(int depth) {
  Bytes bytes;
  for (int i = 1; i < depth; ++i) {
    bytes.push_back(0x0C);
    bytes.push_back(0x01);
  }
  bytes.push_back(0x0C);
  bytes.push_back(0x00);
  return bytes;
}

// Writes `value` as the first thing in a message and expects exactly
// `expected`, nothing on standard error, and the same value read back.
void ExpectGolden(const EncodableValue& value, const Bytes& expected) {
  testing::internal::CaptureStderr();
  Bytes bytes = Encode(value);
  Decoded decoded = Decode(bytes);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(bytes, expected);
  EXPECT_TRUE(StructurallyEqual(decoded.value, value));
  EXPECT_EQ(decoded.position, bytes.size());
}

TEST(StandardCodecSerializerGoldenTest, Scalars) {
  ExpectGolden(EncodableValue(), Hex("00"));
  ExpectGolden(EncodableValue(true), Hex("01"));
  ExpectGolden(EncodableValue(false), Hex("02"));
  ExpectGolden(EncodableValue(5), Hex("03 05 00 00 00"));
  ExpectGolden(EncodableValue(-2), Hex("03 FE FF FF FF"));
  ExpectGolden(EncodableValue(std::numeric_limits<int32_t>::min()), Hex("03 00 00 00 80"));
  ExpectGolden(EncodableValue(int64_t{1}), Hex("04 01 00 00 00 00 00 00 00"));
  ExpectGolden(EncodableValue(int64_t{-0x0102030405060708}), Hex("04 F8 F8 F9 FA FB FC FD FE"));
}

TEST(StandardCodecSerializerGoldenTest, DoubleIsAlignedToEightFromTheMessageStart) {
  ExpectGolden(EncodableValue(1.0), Hex("06 00 00 00 00 00 00 00 00 00 00 00 00 00 F0 3F"));
  ExpectGolden(EncodableValue(-0.0), Hex("06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 80"));

  testing::internal::CaptureStderr();
  EXPECT_EQ(Encode(EncodableValue(1.0), 1), Hex("A5 06 00 00 00 00 00 00 00 00 00 00 00 00 F0 3F"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(StandardCodecSerializerGoldenTest, DoubleAfterEveryNumberOfLeadingBytes) {
  const Bytes number = Hex("00 00 00 00 00 00 04 C0");  // -2.5
  for (size_t leading = 0; leading < 16; ++leading) {
    SCOPED_TRACE(testing::Message() << leading << " leading bytes");
    // The type byte, then zeros up to the first multiple of 8 after it.
    const size_t number_at = (leading + 1 + 7) / 8 * 8;
    Bytes expected(leading, kLeadingByte);
    expected.push_back(0x06);
    expected.resize(number_at, 0x00);
    expected.insert(expected.end(), number.begin(), number.end());

    testing::internal::CaptureStderr();
    Bytes bytes = Encode(EncodableValue(-2.5), leading);
    Decoded decoded = Decode(bytes, leading);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(StructurallyEqual(decoded.value, EncodableValue(-2.5)));
    EXPECT_EQ(decoded.position, bytes.size());
  }
}

TEST(StandardCodecSerializerGoldenTest, Strings) {
  ExpectGolden(EncodableValue("path"), Hex("07 04 70 61 74 68"));
  ExpectGolden(EncodableValue(""), Hex("07 00"));
  ExpectGolden(EncodableValue(std::string("\x00\xC3\xA9", 3)), Hex("07 03 00 C3 A9"));
  const std::string text300(300, 'x');
  ExpectGolden(EncodableValue(text300), Concat({Hex("07 FE 2C 01"), Bytes(300, 'x')}));
  const std::string text70000(70000, 'y');
  ExpectGolden(EncodableValue(text70000), Concat({Hex("07 FF 70 11 01 00"), Bytes(70000, 'y')}));
}

TEST(StandardCodecSerializerGoldenTest, MapEntriesFollowTheKeyOrder) {
  ExpectGolden(EncodableValue(ValueMap{{EncodableValue("path"), EncodableValue("ab")}}),
               Hex("0D 01 07 04 70 61 74 68 07 02 61 62"));
  ExpectGolden(EncodableValue(ValueMap{{EncodableValue("b"), EncodableValue()},
                                       {EncodableValue(int64_t{1}), EncodableValue(true)},
                                       {EncodableValue(2), EncodableValue(false)}}),
               Hex("0D 03 03 02 00 00 00 02 04 01 00 00 00 00 00 00 00 01 07 01 62 00"));
  ExpectGolden(EncodableValue(ValueMap{}), Hex("0D 00"));
}

TEST(StandardCodecSerializerGoldenTest, ListsAndByteLists) {
  ExpectGolden(EncodableValue(ValueList{}), Hex("0C 00"));
  ExpectGolden(EncodableValue(ValueList{EncodableValue(1), EncodableValue("a"),
                                        EncodableValue(ValueList{EncodableValue()})}),
               Hex("0C 03 03 01 00 00 00 07 01 61 0C 01 00"));
  ExpectGolden(EncodableValue(std::vector<uint8_t>{}), Hex("08 00"));
  ExpectGolden(EncodableValue(std::vector<uint8_t>{0x00, 0xFF, 0x10}), Hex("08 03 00 FF 10"));
}

TEST(StandardCodecSerializerGoldenTest, TypedLists) {
  ExpectGolden(EncodableValue(std::vector<int64_t>{1}),
               Hex("0A 01 00 00 00 00 00 00 01 00 00 00 00 00 00 00"));
  ExpectGolden(EncodableValue(std::vector<float>{1.5F}), Hex("0E 01 00 00 00 00 C0 3F"));
  ExpectGolden(EncodableValue(std::vector<int32_t>{-1, 2}),
               Hex("09 02 00 00 FF FF FF FF 02 00 00 00"));
  ExpectGolden(EncodableValue(std::vector<double>{1.0}),
               Hex("0B 01 00 00 00 00 00 00 00 00 00 00 00 00 F0 3F"));
}

// Empty typed lists are padded too, since the reader skips to the element
// alignment after every typed-list size.
TEST(StandardCodecSerializerGoldenTest, EmptyTypedListsArePaddedToTheirElementAlignment) {
  ExpectGolden(EncodableValue(std::vector<int32_t>{}), Hex("09 00 00 00"));
  ExpectGolden(EncodableValue(std::vector<float>{}), Hex("0E 00 00 00"));
  ExpectGolden(EncodableValue(std::vector<int64_t>{}), Hex("0A 00 00 00 00 00 00 00"));
  ExpectGolden(EncodableValue(std::vector<double>{}), Hex("0B 00 00 00 00 00 00 00"));

  // Unpadded, the reader would skip the type byte and the first bytes of the
  // int32 after the list.
  ExpectGolden(EncodableValue(ValueList{EncodableValue(std::vector<int64_t>{}), EncodableValue(7)}),
               Hex("0C 02 0A 00 00 00 00 00 03 07 00 00 00"));
  ExpectGolden(EncodableValue(ValueMap{{EncodableValue(), EncodableValue(std::vector<float>{})},
                                       {EncodableValue(true), EncodableValue(7)}}),
               Hex("0D 02 00 0E 00 00 00 00 01 03 07 00 00 00"));
  // Already aligned: no padding.
  ExpectGolden(EncodableValue(ValueList{EncodableValue(std::vector<int32_t>{}), EncodableValue(7)}),
               Hex("0C 02 09 00 03 07 00 00 00"));
}

struct TypedListCase {
  EncodableValue value;
  uint8_t type;
  size_t alignment;
  Bytes elements;
};

std::vector<TypedListCase> TypedListCases() {
  return {
      {EncodableValue(std::vector<int32_t>{1, -1}), 0x09, 4, Hex("01 00 00 00 FF FF FF FF")},
      {EncodableValue(std::vector<int64_t>{1, -1}), 0x0A, 8,
       Hex("01 00 00 00 00 00 00 00 FF FF FF FF FF FF FF FF")},
      {EncodableValue(std::vector<double>{0.5, -0.0}), 0x0B, 8,
       Hex("00 00 00 00 00 00 E0 3F 00 00 00 00 00 00 00 80")},
      {EncodableValue(std::vector<float>{1.5F, -2.0F}), 0x0E, 4, Hex("00 00 C0 3F 00 00 00 C0")},
      {EncodableValue(std::vector<int32_t>{}), 0x09, 4, {}},
      {EncodableValue(std::vector<int64_t>{}), 0x0A, 8, {}},
      {EncodableValue(std::vector<double>{}), 0x0B, 8, {}},
      {EncodableValue(std::vector<float>{}), 0x0E, 4, {}},
  };
}

TEST(StandardCodecSerializerGoldenTest, TypedListsAfterEveryNumberOfLeadingBytes) {
  for (const TypedListCase& c : TypedListCases()) {
    for (size_t leading = 0; leading < 8; ++leading) {
      SCOPED_TRACE(testing::Message() << "type " << int{c.type} << ", " << leading << " leading");
      const uint8_t count = static_cast<uint8_t>(c.elements.size() / c.alignment);
      // Type byte and one-byte size, then zeros up to the element alignment.
      const size_t elements_at = (leading + 2 + c.alignment - 1) / c.alignment * c.alignment;
      Bytes expected(leading, kLeadingByte);
      expected.push_back(c.type);
      expected.push_back(count);
      expected.resize(elements_at, 0x00);
      expected.insert(expected.end(), c.elements.begin(), c.elements.end());

      testing::internal::CaptureStderr();
      Bytes bytes = Encode(c.value, leading);
      Decoded decoded = Decode(bytes, leading);
      EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
      EXPECT_EQ(bytes, expected);
      EXPECT_TRUE(StructurallyEqual(decoded.value, c.value));
      EXPECT_EQ(decoded.position, bytes.size());
    }
  }
}

struct SizeBoundary {
  size_t size;
  Bytes size_field;
};

const SizeBoundary kSizeBoundaries[] = {
    {253, Hex("FD")},
    {254, Hex("FE FE 00")},
    {65535, Hex("FE FF FF")},
    {65536, Hex("FF 00 00 01 00")},
};

TEST(StandardCodecSerializerGoldenTest, SizeFieldBoundariesOfStringsAndByteLists) {
  for (const SizeBoundary& boundary : kSizeBoundaries) {
    SCOPED_TRACE(testing::Message() << boundary.size << " bytes");
    const Bytes content(boundary.size, 0x61);
    ExpectGolden(EncodableValue(std::string(content.begin(), content.end())),
                 Concat({Hex("07"), boundary.size_field, content}));
    ExpectGolden(EncodableValue(content), Concat({Hex("08"), boundary.size_field, content}));
  }
}

TEST(StandardCodecSerializerGoldenTest, SizeFieldBoundariesOfTypedLists) {
  for (const SizeBoundary& boundary : kSizeBoundaries) {
    SCOPED_TRACE(testing::Message() << boundary.size << " elements");
    const size_t header = 1 + boundary.size_field.size();

    std::vector<int32_t> int32s(boundary.size);
    Bytes int32_bytes;
    for (size_t i = 0; i < int32s.size(); ++i) {
      int32s[i] = static_cast<int32_t>(i * 0x01010101U);
      const uint32_t element = static_cast<uint32_t>(int32s[i]);
      for (int shift = 0; shift < 32; shift += 8) {
        int32_bytes.push_back(static_cast<uint8_t>(element >> shift));
      }
    }
    ExpectGolden(EncodableValue(int32s), Concat({Hex("09"), boundary.size_field,
                                                 Bytes((4 - header % 4) % 4, 0), int32_bytes}));

    const std::vector<double> doubles(boundary.size, 1.0);
    Bytes double_bytes;
    for (size_t i = 0; i < doubles.size(); ++i) {
      const Bytes one = Hex("00 00 00 00 00 00 F0 3F");
      double_bytes.insert(double_bytes.end(), one.begin(), one.end());
    }
    ExpectGolden(EncodableValue(doubles), Concat({Hex("0B"), boundary.size_field,
                                                  Bytes((8 - header % 8) % 8, 0), double_bytes}));
  }
}

TEST(StandardCodecSerializerGoldenTest, SizeFieldBoundariesOfListsAndMaps) {
  for (const SizeBoundary& boundary : kSizeBoundaries) {
    SCOPED_TRACE(testing::Message() << boundary.size << " elements");
    ExpectGolden(EncodableValue(ValueList(boundary.size)),
                 Concat({Hex("0C"), boundary.size_field, Bytes(boundary.size, 0x00)}));

    ValueMap map;
    Bytes entries;
    for (size_t i = 0; i < boundary.size; ++i) {
      map.emplace(EncodableValue(static_cast<int32_t>(i)), EncodableValue());
      const Bytes entry = {0x03,
                           static_cast<uint8_t>(i),
                           static_cast<uint8_t>(i >> 8),
                           static_cast<uint8_t>(i >> 16),
                           0x00,
                           0x00};
      entries.insert(entries.end(), entry.begin(), entry.end());
    }
    ExpectGolden(EncodableValue(std::move(map)), Concat({Hex("0D"), boundary.size_field, entries}));
  }
}

// Exposes the size field on its own, for the sizes no test can allocate.
class SizeFieldSerializer : public StandardCodecSerializer {
 public:
  using StandardCodecSerializer::ReadSize;
  using StandardCodecSerializer::WriteSize;
};

TEST(StandardCodecSerializerSizeFieldTest, WritesTheShortestFormUpToTheLargestSize) {
  const std::pair<uint64_t, Bytes> cases[] = {
      {0, Hex("00")},
      {253, Hex("FD")},
      {254, Hex("FE FE 00")},
      {0xFFFF, Hex("FE FF FF")},
      {0x10000, Hex("FF 00 00 01 00")},
      {StandardCodecSerializer::kMaxSize, Hex("FF FF FF FF FF")},
  };
  for (const auto& [size, expected] : cases) {
    Bytes bytes;
    ByteBufferStreamWriter writer(&bytes);
    SizeFieldSerializer::WriteSize(size, &writer);
    EXPECT_EQ(bytes, expected) << size;
    ByteBufferStreamReader reader(bytes.data(), bytes.size());
    EXPECT_EQ(SizeFieldSerializer::ReadSize(&reader), size);
    EXPECT_EQ(reader.position(), bytes.size());
  }
}

TEST(StandardCodecSerializerSizeFieldTest, ReadsEveryFormForAnySize) {
  const std::pair<Bytes, uint32_t> cases[] = {
      {Hex("FE 05 00"), 5},         {Hex("FF 05 00 00 00"), 5},          {Hex("FE 00 00"), 0},
      {Hex("FF FE 00 00 00"), 254}, {Hex("FF FF FF FF FF"), 0xFFFFFFFF},
  };
  for (const auto& [bytes, expected] : cases) {
    ByteBufferStreamReader reader(bytes.data(), bytes.size());
    EXPECT_EQ(SizeFieldSerializer::ReadSize(&reader), expected);
  }
  testing::internal::CaptureStderr();
  EXPECT_TRUE(
      StructurallyEqual(Decode(Hex("07 FE 05 00 68 65 6C 6C 6F")).value, EncodableValue("hello")));
  EXPECT_TRUE(
      StructurallyEqual(Decode(Hex("07 FF 02 00 00 00 68 69")).value, EncodableValue("hi")));
  EXPECT_TRUE(StructurallyEqual(Decode(Hex("0C FE 01 00 00")).value,
                                EncodableValue(ValueList{EncodableValue()})));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(StandardCodecSerializerWriteTest, CustomValueIsWrittenAsNullAndWritingGoesOn) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Encode(EncodableValue(CustomEncodableValue(42))), Hex("00"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(StandardCodecSerializer::kCustomTypeDiagnostic));

  testing::internal::CaptureStderr();
  EXPECT_EQ(Encode(EncodableValue(
                ValueList{EncodableValue(CustomEncodableValue(42)), EncodableValue(1)})),
            Hex("0C 02 00 03 01 00 00 00"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(StandardCodecSerializer::kCustomTypeDiagnostic));
}

// The size field cannot say 2^32; a wrapped size would make the reader take
// the content for values.
TEST(StandardCodecSerializerWriteTest, StringOfFourGibibytesIsWrittenAsNull) {
  EncodableValue huge(std::string(size_t{1} << 32, 'x'));
  testing::internal::CaptureStderr();
  EXPECT_EQ(Encode(huge), Hex("00"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(std::string(StandardCodecSerializer::kTooLargeDiagnostic) + "4294967296"));

  ValueList list;
  list.push_back(std::move(huge));
  list.emplace_back(1);
  EncodableValue in_list(std::move(list));
  testing::internal::CaptureStderr();
  EXPECT_EQ(Encode(in_list), Hex("0C 02 00 03 01 00 00 00"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(std::string(StandardCodecSerializer::kTooLargeDiagnostic) + "4294967296"));
}

TEST(StandardCodecSerializerReadTest, LegacyStringTypeReadsAsString) {
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(Hex("05 02 61 62"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(StructurallyEqual(decoded.value, EncodableValue("ab")));
  EXPECT_EQ(decoded.position, 4U);
}

TEST(StandardCodecSerializerReadTest, PaddingBytesAreSkippedUnread) {
  testing::internal::CaptureStderr();
  EXPECT_TRUE(StructurallyEqual(
      Decode(Hex("06 FF FF FF FF FF FF FF 00 00 00 00 00 00 F0 3F")).value, EncodableValue(1.0)));
  EXPECT_TRUE(StructurallyEqual(Decode(Hex("09 01 FF FF 05 00 00 00")).value,
                                EncodableValue(std::vector<int32_t>{5})));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(StandardCodecSerializerReadTest, UnknownTypesReadAsNullAndDecodingGoesOn) {
  for (int type = 15; type <= 255; ++type) {
    SCOPED_TRACE(type);
    const Bytes bytes = {0x0C, 0x02, static_cast<uint8_t>(type), 0x03, 0x05, 0x00, 0x00, 0x00};
    testing::internal::CaptureStderr();
    Decoded decoded = Decode(bytes);
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        Lines(std::string(StandardCodecSerializer::kUnknownTypeDiagnostic) + std::to_string(type)));
    EXPECT_TRUE(StructurallyEqual(decoded.value,
                                  EncodableValue(ValueList{EncodableValue(), EncodableValue(5)})));
  }
}

TEST(StandardCodecSerializerReadTest, MissingListElementsReadAsNull) {
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(Hex("0C 02 03 05 00 00 00"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead));
  EXPECT_TRUE(StructurallyEqual(decoded.value,
                                EncodableValue(ValueList{EncodableValue(5), EncodableValue()})));
}

TEST(StandardCodecSerializerReadTest, MissingNumberBytesReadAsZero) {
  const std::pair<Bytes, EncodableValue> cases[] = {
      {Hex("03 05 00 00"), EncodableValue(0)},
      {Hex("04 01 00 00 00 00 00 00"), EncodableValue(int64_t{0})},
      {Hex("06 00 00 00 00 00 00 00 00 00 F0"), EncodableValue(0.0)},
      {Hex("06"), EncodableValue(0.0)},
  };
  for (const auto& [bytes, expected] : cases) {
    testing::internal::CaptureStderr();
    Decoded decoded = Decode(bytes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead));
    EXPECT_TRUE(StructurallyEqual(decoded.value, expected));
  }
}

TEST(StandardCodecSerializerReadTest, FirstOfEquivalentMapKeysWins) {
  testing::internal::CaptureStderr();
  Decoded decoded =
      Decode(Hex("0D 03 07 01 61 03 01 00 00 00 07 01 61 03 02 00 00 00 "
                 "04 01 00 00 00 00 00 00 00 01"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(StructurallyEqual(
      decoded.value, EncodableValue(ValueMap{{EncodableValue(int64_t{1}), EncodableValue(true)},
                                             {EncodableValue("a"), EncodableValue(1)}})));
}

// Telling equivalent keys apart compares them once per level of nesting.
TEST(StandardCodecSerializerReadTest, DeeplyNestedEquivalentKeysAreFoundEquivalent) {
  const Bytes key = NestedListMessage(100);
  const Bytes bytes =
      Concat({Hex("0D 02"), key, Hex("03 01 00 00 00"), key, Hex("03 02 00 00 00")});
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(bytes);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  const ValueMap& map = decoded.value.Get<ValueMap>();
  ASSERT_EQ(map.size(), 1U);
  EXPECT_EQ(map.begin()->second.Get<int32_t>(), 1);
}

TEST(StandardCodecSerializerReadTest, DecodedValuesOwnTheirBytes) {
  Bytes bytes = Hex("0C 03 07 02 61 62 08 01 7F 09 01 00 05 00 00 00");
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(bytes);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  std::fill(bytes.begin(), bytes.end(), 0xEE);
  bytes.clear();
  bytes.shrink_to_fit();
  EXPECT_TRUE(StructurallyEqual(
      decoded.value,
      EncodableValue(ValueList{EncodableValue("ab"), EncodableValue(std::vector<uint8_t>{0x7F}),
                               EncodableValue(std::vector<int32_t>{5})})));
}

struct DeclaredSizeCase {
  const char* name;
  Bytes bytes;
  EncodableValue empty;
};

// A declared size that the rest of the message cannot hold gives one line, an
// empty value of the kind, and an exhausted reader; nothing of the declared
// size is allocated.
TEST(StandardCodecSerializerReadTest, DeclaredSizesBeyondTheMessageGiveAnEmptyValue) {
  const DeclaredSizeCase cases[] = {
      {"string", Hex("07 FF FF FF FF FF 61 62 63 64"), EncodableValue("")},
      {"legacy string", Hex("05 FF FF FF FF FF 61 62 63 64"), EncodableValue("")},
      {"byte list", Hex("08 FF FF FF FF FF 61 62 63 64"), EncodableValue(std::vector<uint8_t>{})},
      {"int32 list", Hex("09 FF FF FF FF FF 61 62 63 64"), EncodableValue(std::vector<int32_t>{})},
      {"int64 list", Hex("0A FF FF FF FF FF 61 62 63 64"), EncodableValue(std::vector<int64_t>{})},
      {"double list", Hex("0B FF FF FF FF FF 61 62 63 64"), EncodableValue(std::vector<double>{})},
      {"float32 list", Hex("0E FF FF FF FF FF 61 62 63 64"), EncodableValue(std::vector<float>{})},
      {"list", Hex("0C FF FF FF FF FF 00 00 00 00"), EncodableValue(ValueList{})},
      {"map", Hex("0D FF FF FF FF FF 00 00 00 00"), EncodableValue(ValueMap{})},
      // One byte, element or entry short of fitting.
      {"short string", Hex("07 03 61 62"), EncodableValue("")},
      {"short byte list", Hex("08 03 61 62"), EncodableValue(std::vector<uint8_t>{})},
      {"short int32 list", Hex("09 02 00 00 05 00 00 00 06 00 00"),
       EncodableValue(std::vector<int32_t>{})},
      {"short int64 list", Hex("0A 01 00 00 00 00 00 00 05 00 00 00 00 00 00"),
       EncodableValue(std::vector<int64_t>{})},
      {"short list", Hex("0C 04 00 00 00"), EncodableValue(ValueList{})},
      {"short map", Hex("0D 03 00 00 01 00 02"), EncodableValue(ValueMap{})},
  };
  for (const DeclaredSizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::internal::CaptureStderr();
    Decoded decoded = Decode(c.bytes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead));
    EXPECT_TRUE(StructurallyEqual(decoded.value, c.empty));
    EXPECT_EQ(decoded.position, c.bytes.size());
  }
}

TEST(StandardCodecSerializerReadTest, DeclaredSizesThatExactlyFitAreRead) {
  const std::pair<Bytes, EncodableValue> cases[] = {
      {Hex("07 02 61 62"), EncodableValue("ab")},
      {Hex("09 02 00 00 05 00 00 00 06 00 00 00"), EncodableValue(std::vector<int32_t>{5, 6})},
      {Hex("0C 03 00 00 00"),
       EncodableValue(ValueList{EncodableValue(), EncodableValue(), EncodableValue()})},
      {Hex("0D 02 00 00 01 00"),
       EncodableValue(ValueMap{{EncodableValue(), EncodableValue()},
                               {EncodableValue(true), EncodableValue()}})},
  };
  for (const auto& [bytes, expected] : cases) {
    testing::internal::CaptureStderr();
    Decoded decoded = Decode(bytes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(StructurallyEqual(decoded.value, expected));
    EXPECT_EQ(decoded.position, bytes.size());
  }
}

// A message rich in kinds, alignments and nesting.
EncodableValue AssortedValue() {
  return EncodableValue(ValueMap{
      {EncodableValue("doubles"), EncodableValue(std::vector<double>{0.25, -8})},
      {EncodableValue("int32s"), EncodableValue(std::vector<int32_t>{1, 2, 3})},
      {EncodableValue("nested"),
       EncodableValue(ValueList{
           EncodableValue(int64_t{-3}), EncodableValue(2.5),
           EncodableValue(ValueMap{{EncodableValue(true), EncodableValue("t")}}),
           EncodableValue(std::vector<float>{0.5F}), EncodableValue(std::vector<int64_t>{})})},
      {EncodableValue(std::vector<uint8_t>{1, 2}), EncodableValue(std::vector<int64_t>{7})},
      {EncodableValue(3), EncodableValue(false)},
  });
}

TEST(StandardCodecSerializerReadTest, TruncationAtEveryCutPointOnlyReportsMissingBytes) {
  const std::vector<EncodableValue> messages = {
      AssortedValue(),
      EncodableValue(ValueList{EncodableValue(1.0), EncodableValue(std::vector<int32_t>{9}),
                               EncodableValue("tail")}),
      EncodableValue(std::string(300, 'z')),
  };
  for (const EncodableValue& message : messages) {
    const Bytes whole = Encode(message);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << "kind " << message.Index() << " cut at " << cut);
      // A buffer of exactly the cut length, so an over-read is a sanitizer report.
      const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
      testing::internal::CaptureStderr();
      Decoded decoded = Decode(prefix);
      const std::string diagnostics = testing::internal::GetCapturedStderr();
      // The bytes of a number that could not be read are then read as values,
      // possibly of unknown types.
      EXPECT_THAT(SplitLines(diagnostics),
                  testing::AllOf(testing::Contains(std::string(kInvalidRead)),
                                 testing::Each(testing::AnyOf(
                                     std::string(kInvalidRead),
                                     testing::StartsWith(std::string(
                                         StandardCodecSerializer::kUnknownTypeDiagnostic))))));
      EXPECT_THAT(diagnostics, testing::EndsWith("\n"));
      EXPECT_EQ(decoded.value.Index(), cut == 0 ? EncodableValue::kNull : message.Index());
    }
  }
}

// Lists and maps (under the key "k") taking turns, `depth` levels in all.
EncodableValue NestedValue(int depth) {
  EncodableValue value(ValueList{});
  for (int level = depth - 1; level > 0; --level) {
    if (level % 2 == 0) {
      ValueList list;
      list.push_back(std::move(value));
      value = EncodableValue(std::move(list));
    } else {
      ValueMap map;
      map.emplace(EncodableValue("k"), std::move(value));
      value = EncodableValue(std::move(map));
    }
  }
  return value;
}

// Levels of lists and maps, following the first element or entry.
int NestingDepth(const EncodableValue& value) {
  int depth = 0;
  const EncodableValue* level = &value;
  while (true) {
    if (const ValueList* list = level->GetIf<ValueList>()) {
      ++depth;
      if (list->empty()) {
        return depth;
      }
      level = &list->front();
    } else if (const ValueMap* map = level->GetIf<ValueMap>()) {
      ++depth;
      if (map->empty()) {
        return depth;
      }
      level = &map->begin()->second;
    } else {
      return depth;
    }
  }
}

const EncodableValue& Innermost(const EncodableValue& value) {
  const EncodableValue* level = &value;
  while (const ValueList* list = level->GetIf<ValueList>()) {
    if (list->empty()) {
      break;
    }
    level = &list->front();
  }
  return *level;
}

constexpr int kMaxDepth = StandardCodecSerializer::kMaxNestingDepth;

TEST(StandardCodecSerializerNestingTest, ValuesNestedToTheLimitReadFully) {
  for (int repeat = 0; repeat < 2; ++repeat) {
    const Bytes lists = NestedListMessage(kMaxDepth);
    testing::internal::CaptureStderr();
    Decoded decoded = Decode(lists);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(NestingDepth(decoded.value), kMaxDepth);
    EXPECT_EQ(decoded.position, lists.size());
  }

  const EncodableValue mixed = NestedValue(kMaxDepth);
  ASSERT_EQ(NestingDepth(mixed), kMaxDepth);
  testing::internal::CaptureStderr();
  const Bytes bytes = Encode(mixed);
  Decoded decoded = Decode(bytes);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(StructurallyEqual(decoded.value, mixed));
}

TEST(StandardCodecSerializerNestingTest, OneLevelBeyondTheLimitReadsAsNullAndEndsDecoding) {
  Bytes bytes = NestedListMessage(kMaxDepth + 1);
  bytes.back() = 0x01;
  const Bytes trailing = Hex("03 05 00 00 00");
  bytes.insert(bytes.end(), trailing.begin(), trailing.end());

  testing::internal::CaptureStderr();
  Decoded decoded = Decode(bytes);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(StandardCodecSerializer::kTooDeepDiagnostic));
  EXPECT_EQ(NestingDepth(decoded.value), kMaxDepth);
  EXPECT_TRUE(Innermost(decoded.value).IsNull());
  EXPECT_EQ(decoded.position, bytes.size());

  // The bound is on nesting, not on how many values were read before.
  testing::internal::CaptureStderr();
  Decoded after = Decode(NestedListMessage(kMaxDepth));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(NestingDepth(after.value), kMaxDepth);
}

TEST(StandardCodecSerializerNestingTest, SiblingsDoNotAddUpToTheDepth) {
  ValueList siblings;
  for (int i = 0; i < 3; ++i) {
    siblings.push_back(NestedValue(kMaxDepth - 1));
  }
  const EncodableValue value(std::move(siblings));
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(Encode(value));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(StructurallyEqual(decoded.value, value));
}

TEST(StandardCodecSerializerNestingTest, TheLimitAppliesToMapsAndMapKeys) {
  // kMaxDepth + 1 maps, each holding the next under the key null.
  Bytes values;
  for (int i = 0; i <= kMaxDepth; ++i) {
    const Bytes level = Hex("0D 01 00");
    values.insert(values.end(), level.begin(), level.end());
  }
  testing::internal::CaptureStderr();
  Decode(values);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(StandardCodecSerializer::kTooDeepDiagnostic));

  // The same depth reached through keys.
  Bytes keys;
  for (int i = 0; i <= kMaxDepth; ++i) {
    const Bytes level = Hex("0D 01");
    keys.insert(keys.end(), level.begin(), level.end());
  }
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(keys);
  const std::string diagnostics = testing::internal::GetCapturedStderr();
  EXPECT_THAT(diagnostics, testing::StartsWith(Lines(StandardCodecSerializer::kTooDeepDiagnostic)));
  EXPECT_EQ(decoded.position, keys.size());
}

// Runs `task` on a thread whose stack is `stack_size` bytes, so that runaway
// recursion crashes the test instead of passing on a large main stack.
void RunOnStackOf(size_t stack_size, std::function<void()> task) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, stack_size), 0);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &task), 0);
  pthread_attr_destroy(&attributes);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
}

constexpr size_t kOneMebibyte = size_t{1} << 20;

TEST(StandardCodecSerializerNestingTest, DeepestValueIsHandledOnAOneMebibyteStack) {
  testing::internal::CaptureStderr();
  RunOnStackOf(kOneMebibyte, [] {
    const Bytes bytes = Encode(NestedValue(kMaxDepth));
    Decoded decoded = Decode(bytes);
    EXPECT_EQ(NestingDepth(decoded.value), kMaxDepth);
    {
      EncodableValue copy = decoded.value;
      EXPECT_FALSE(copy < decoded.value);
      EXPECT_FALSE(decoded.value < copy);
      EXPECT_EQ(Encode(copy), bytes);
      ValueMap keyed;
      keyed.emplace(copy, EncodableValue(1));
      keyed.emplace(decoded.value, EncodableValue(2));
      EXPECT_EQ(keyed.size(), 1U);
    }
  });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(StandardCodecSerializerNestingTest, MebibyteOfListHeadersIsDecodedOnAOneMebibyteStack) {
  Bytes bytes;
  bytes.reserve(kOneMebibyte);
  while (bytes.size() < kOneMebibyte) {
    bytes.push_back(0x0C);
    bytes.push_back(0x01);
  }
  testing::internal::CaptureStderr();
  RunOnStackOf(kOneMebibyte, [&bytes] {
    Decoded decoded = Decode(bytes);
    EXPECT_EQ(NestingDepth(decoded.value), kMaxDepth);
    EXPECT_TRUE(Innermost(decoded.value).IsNull());
    EXPECT_EQ(decoded.position, bytes.size());
  });
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Lines(StandardCodecSerializer::kTooDeepDiagnostic));
}

// Holds its decoding of type 0x80 until released, to run another decoding on
// another thread in the middle of this one.
class PausingSerializer : public StandardCodecSerializer {
 public:
  EncodableValue ReadValueOfType(uint8_t type, ByteStreamReader* stream) const override {
    if (type == 0x80) {
      reached.set_value();
      release.get_future().wait();
      return EncodableValue("paused");
    }
    return StandardCodecSerializer::ReadValueOfType(type, stream);
  }
  mutable std::promise<void> reached;
  mutable std::promise<void> release;
};

TEST(StandardCodecSerializerNestingTest, EachThreadHasItsOwnDepth) {
  PausingSerializer pausing;
  Bytes deep_on_worker = NestedListMessage(kMaxDepth - 1);
  deep_on_worker.back() = 0x01;
  deep_on_worker.push_back(0x80);

  testing::internal::CaptureStderr();
  std::future<void> reached = pausing.reached.get_future();
  Decoded on_worker;
  std::thread worker([&] { on_worker = Decode(deep_on_worker, 0, pausing); });
  reached.wait();
  Decoded here = Decode(NestedListMessage(kMaxDepth));
  pausing.release.set_value();
  worker.join();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(NestingDepth(here.value), kMaxDepth);
  EXPECT_EQ(NestingDepth(on_worker.value), kMaxDepth - 1);
  EXPECT_TRUE(StructurallyEqual(Innermost(on_worker.value), EncodableValue("paused")));
}

struct Point {
  int32_t x;
  int32_t y;
};

// Adds a kind of its own (type byte 0x80) to the standard encoding.
class PointSerializer : public StandardCodecSerializer {
 public:
  static constexpr uint8_t kPointType = 0x80;

  void WriteValue(const EncodableValue& value, ByteStreamWriter* stream) const override {
    if (const auto* custom = value.GetIf<CustomEncodableValue>()) {
      if (const auto* point = std::any_cast<Point>(&custom->object())) {
        stream->PutByte(kPointType);
        stream->PutBytes(reinterpret_cast<const uint8_t*>(&point->x), 4);
        stream->PutBytes(reinterpret_cast<const uint8_t*>(&point->y), 4);
        return;
      }
    }
    StandardCodecSerializer::WriteValue(value, stream);
  }

  EncodableValue ReadValueOfType(uint8_t type, ByteStreamReader* stream) const override {
    if (type == kPointType) {
      Point point{};
      stream->TakeBytes(reinterpret_cast<uint8_t*>(&point.x), 4);
      stream->TakeBytes(reinterpret_cast<uint8_t*>(&point.y), 4);
      return EncodableValue(CustomEncodableValue(point));
    }
    return StandardCodecSerializer::ReadValueOfType(type, stream);
  }
};

TEST(StandardCodecSerializerExtensionTest, DerivedSerializerIsReachedAtEveryDepth) {
  const PointSerializer serializer;
  const EncodableValue point(CustomEncodableValue(Point{1, -1}));
  const EncodableValue value(ValueMap{
      {EncodableValue("p"), EncodableValue(ValueList{EncodableValue(ValueList{point})})},
      {EncodableValue(4), point},
  });
  const Bytes expected =
      Hex("0D 02 03 04 00 00 00 80 01 00 00 00 FF FF FF FF "
          "07 01 70 0C 01 0C 01 80 01 00 00 00 FF FF FF FF");

  testing::internal::CaptureStderr();
  const Bytes bytes = Encode(value, 0, serializer);
  Decoded decoded = Decode(bytes, 0, serializer);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(bytes, expected);
  const ValueMap& map = decoded.value.Get<ValueMap>();
  const EncodableValue& deep = map.at(EncodableValue("p")).Get<ValueList>()[0].Get<ValueList>()[0];
  const Point* read = std::any_cast<Point>(&deep.Get<CustomEncodableValue>().object());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->x, 1);
  EXPECT_EQ(read->y, -1);
  EXPECT_NE(std::any_cast<Point>(&map.at(EncodableValue(4)).Get<CustomEncodableValue>().object()),
            nullptr);

  // The standard serializer does not know the kind.
  testing::internal::CaptureStderr();
  Decode(bytes);
  EXPECT_THAT(testing::internal::GetCapturedStderr(),
              testing::StartsWith(
                  Lines(std::string(StandardCodecSerializer::kUnknownTypeDiagnostic) + "128")));
}

// Random values of every kind the encoding carries, nested a few levels.
class RandomValueGenerator {
 public:
  explicit RandomValueGenerator(uint32_t seed) : engine_(seed) {}

  EncodableValue Next(int depth = 0) {
    static constexpr size_t kKinds[] = {
        EncodableValue::kNull,       EncodableValue::kBool,      EncodableValue::kInt32,
        EncodableValue::kInt64,      EncodableValue::kDouble,    EncodableValue::kString,
        EncodableValue::kByteList,   EncodableValue::kInt32List, EncodableValue::kInt64List,
        EncodableValue::kDoubleList, EncodableValue::kList,      EncodableValue::kMap,
        EncodableValue::kFloat32List};
    size_t kind = kKinds[Uniform(0, std::size(kKinds) - 1)];
    if (depth >= kMaxRandomDepth &&
        (kind == EncodableValue::kList || kind == EncodableValue::kMap)) {
      kind = EncodableValue::kInt32;
    }
    switch (kind) {
      case EncodableValue::kNull:
        return EncodableValue();
      case EncodableValue::kBool:
        return EncodableValue(Uniform(0, 1) == 1);
      case EncodableValue::kInt32:
        return EncodableValue(static_cast<int32_t>(engine_()));
      case EncodableValue::kInt64:
        return EncodableValue(Int64());
      case EncodableValue::kDouble:
        return EncodableValue(Double());
      case EncodableValue::kString: {
        std::string text(Length(), '\0');
        for (char& c : text) {
          c = static_cast<char>(engine_());
        }
        return EncodableValue(std::move(text));
      }
      case EncodableValue::kByteList:
        return EncodableValue(
            Elements<uint8_t>([this] { return static_cast<uint8_t>(engine_()); }));
      case EncodableValue::kInt32List:
        return EncodableValue(
            Elements<int32_t>([this] { return static_cast<int32_t>(engine_()); }));
      case EncodableValue::kInt64List:
        return EncodableValue(Elements<int64_t>([this] { return Int64(); }));
      case EncodableValue::kDoubleList:
        return EncodableValue(Elements<double>([this] { return Double(); }));
      case EncodableValue::kFloat32List:
        return EncodableValue(Elements<float>([this] { return Float(); }));
      case EncodableValue::kList: {
        ValueList list(Uniform(0, 4));
        for (EncodableValue& element : list) {
          element = Next(depth + 1);
        }
        return EncodableValue(std::move(list));
      }
      default: {
        ValueMap map;
        for (size_t entries = Uniform(0, 4); entries > 0; --entries) {
          EncodableValue key = Next(depth + 1);
          map.emplace(std::move(key), Next(depth + 1));
        }
        return EncodableValue(std::move(map));
      }
    }
  }

 private:
  static constexpr int kMaxRandomDepth = 4;

  size_t Uniform(size_t low, size_t high) {
    return std::uniform_int_distribution<size_t>(low, high)(engine_);
  }

  // Mostly short, sometimes across the one-byte size field.
  size_t Length() { return Uniform(0, 19) == 0 ? Uniform(250, 260) : Uniform(0, 9); }

  int64_t Int64() { return static_cast<int64_t>((uint64_t{engine_()} << 32) | engine_()); }

  // Any bit pattern but NaN, with the special numbers now and then.
  double Double() {
    static constexpr double kSpecial[] = {0.0,
                                          -0.0,
                                          std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(),
                                          std::numeric_limits<double>::denorm_min(),
                                          std::numeric_limits<double>::max()};
    if (Uniform(0, 7) == 0) {
      return kSpecial[Uniform(0, std::size(kSpecial) - 1)];
    }
    uint64_t bits = static_cast<uint64_t>(Int64());
    double number;
    std::memcpy(&number, &bits, sizeof(number));
    return std::isnan(number) ? 1.0 : number;
  }

  float Float() {
    uint32_t bits = engine_();
    float number;
    std::memcpy(&number, &bits, sizeof(number));
    return std::isnan(number) ? -0.0F : number;
  }

  template <typename T, typename Make>
  std::vector<T> Elements(Make make) {
    std::vector<T> elements(Length());
    for (T& element : elements) {
      element = make();
    }
    return elements;
  }

  std::mt19937 engine_;
};

TEST(StandardCodecSerializerRoundTripTest, RandomValuesReadBackEqualAfterAnyLeadingBytes) {
  RandomValueGenerator generator(20240611);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 3000; ++i) {
    const EncodableValue value = generator.Next();
    for (size_t leading = 0; leading < 8; ++leading) {
      const Bytes bytes = Encode(value, leading);
      Decoded decoded = Decode(bytes, leading);
      ASSERT_TRUE(StructurallyEqual(decoded.value, value))
          << "value " << i << ", " << leading << " leading bytes";
      ASSERT_EQ(decoded.position, bytes.size()) << "value " << i << ", " << leading;
      // What was read writes back to the very same bytes.
      ASSERT_EQ(Encode(decoded.value, leading), bytes) << "value " << i << ", " << leading;
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(StandardCodecSerializerRoundTripTest, NaNKeepsItsBitsThroughTheEncoding) {
  const uint64_t payload_bits = 0x7FF0000000000001;
  double signalling;
  std::memcpy(&signalling, &payload_bits, sizeof(signalling));
  const EncodableValue value(ValueList{
      EncodableValue(-std::numeric_limits<double>::quiet_NaN()), EncodableValue(signalling),
      EncodableValue(std::vector<double>{std::numeric_limits<double>::quiet_NaN(), signalling}),
      EncodableValue(std::vector<float>{std::numeric_limits<float>::quiet_NaN()})});
  testing::internal::CaptureStderr();
  Decoded decoded = Decode(Encode(value));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(StructurallyEqual(decoded.value, value));
}

TEST(StandardCodecSerializerTest, SharedSerializerIsOneObject) {
  EXPECT_EQ(&SharedSerializer(), &SharedSerializer());
  const StandardCodecSerializer* from_thread = nullptr;
  std::thread([&from_thread] { from_thread = &SharedSerializer(); }).join();
  EXPECT_EQ(from_thread, &SharedSerializer());
}

}  // namespace
}  // namespace flutter
