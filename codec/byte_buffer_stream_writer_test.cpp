#include "codec/byte_buffer_stream_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace flutter {
namespace {

using testing::ElementsAre;

TEST(ByteBufferStreamWriterTest, AppendsAfterWhatTheArrayAlreadyHolds) {
  std::vector<uint8_t> output{0xAA};
  ByteBufferStreamWriter writer(&output);
  writer.PutByte(0x01);
  const uint8_t bytes[] = {0x02, 0x03, 0xFF};
  writer.PutBytes(bytes, 3);
  writer.PutByte(0x00);
  EXPECT_THAT(output, ElementsAre(0xAA, 0x01, 0x02, 0x03, 0xFF, 0x00));
}

TEST(ByteBufferStreamWriterTest, EmptyPutBytesAppendsNothing) {
  std::vector<uint8_t> output{0x01};
  ByteBufferStreamWriter writer(&output);
  writer.PutBytes(nullptr, 0);
  EXPECT_THAT(output, ElementsAre(0x01));
}

TEST(ByteBufferStreamWriterTest, PadToAlignmentAppendsZerosUpToTheNextMultiple) {
  struct Case {
    size_t length;
    uint8_t alignment;
    size_t padded_length;
  };
  const Case cases[] = {{1, 8, 8},  {8, 8, 8}, {0, 8, 0}, {6, 4, 8},
                        {9, 8, 16}, {3, 2, 4}, {5, 1, 5}, {7, 4, 8}};
  for (const Case& c : cases) {
    std::vector<uint8_t> output(c.length, 0xAA);
    ByteBufferStreamWriter writer(&output);
    writer.PadToAlignment(c.alignment);
    std::vector<uint8_t> expected(c.length, 0xAA);
    expected.resize(c.padded_length, 0x00);
    EXPECT_EQ(output, expected) << "length " << c.length << ", alignment " << int{c.alignment};
  }
}

// A derived writer that watches every byte sees the padding too.
class CountingWriter : public ByteBufferStreamWriter {
 public:
  explicit CountingWriter(std::vector<uint8_t>* output) : ByteBufferStreamWriter(output) {}
  void PutByte(uint8_t byte) override {
    ++put_byte_calls;
    ByteBufferStreamWriter::PutByte(byte);
  }
  int put_byte_calls = 0;
};

TEST(ByteBufferStreamWriterTest, PaddingGoesThroughPutByte) {
  std::vector<uint8_t> output(3);
  CountingWriter writer(&output);
  writer.PadToAlignment(8);
  EXPECT_EQ(writer.put_byte_calls, 5);
  EXPECT_EQ(output.size(), 8U);
}

}  // namespace
}  // namespace flutter
