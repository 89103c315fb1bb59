#include "codec/byte_buffer_stream_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace flutter {
namespace {

std::string InvalidReadLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) {
    lines += std::string(ByteBufferStreamReader::kInvalidReadDiagnostic) + "\n";
  }
  return lines;
}

TEST(ByteBufferStreamReaderTest, TakeByteYieldsTheBytesInOrder) {
  const std::vector<uint8_t> bytes{0x00, 0x7F, 0x80, 0xFF};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  testing::internal::CaptureStderr();
  for (size_t i = 0; i < bytes.size(); ++i) {
    EXPECT_EQ(reader.TakeByte(), bytes[i]);
    EXPECT_EQ(reader.position(), i + 1);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(ByteBufferStreamReaderTest, TakeByteAtTheEndYieldsZeroAndReportsEveryTime) {
  ByteBufferStreamReader reader(nullptr, 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.TakeByte(), 0);
  std::string first = testing::internal::GetCapturedStderr();
  EXPECT_EQ(first, InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 0U);

  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.TakeByte(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 0U);
}

TEST(ByteBufferStreamReaderTest, TakeByteFailsAfterTheLastByte) {
  const std::vector<uint8_t> bytes{0x2A};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.TakeByte(), 0x2A);
  EXPECT_EQ(reader.TakeByte(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 1U);
}

TEST(ByteBufferStreamReaderTest, ShortTakeBytesCopiesNothingAndKeepsThePosition) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  std::array<uint8_t, 4> destination{0xAA, 0xAA, 0xAA, 0xAA};

  testing::internal::CaptureStderr();
  reader.TakeBytes(destination.data(), 4);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_THAT(destination, testing::ElementsAre(0xAA, 0xAA, 0xAA, 0xAA));
  EXPECT_EQ(reader.position(), 0U);

  testing::internal::CaptureStderr();
  reader.TakeBytes(destination.data(), 3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_THAT(destination, testing::ElementsAre(0x01, 0x02, 0x03, 0xAA));
  EXPECT_EQ(reader.position(), 3U);
}

TEST(ByteBufferStreamReaderTest, HugeTakeBytesCountDoesNotWrapAround) {
  const std::vector<uint8_t> bytes{0x01, 0x02};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();
  uint8_t destination = 0xAA;
  testing::internal::CaptureStderr();
  reader.TakeBytes(&destination, std::numeric_limits<size_t>::max());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(destination, 0xAA);
  EXPECT_EQ(reader.position(), 1U);
}

TEST(ByteBufferStreamReaderTest, EmptyTakeBytesSucceedsAtTheEndButNotBeyondIt) {
  const std::vector<uint8_t> bytes{0x01};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();

  testing::internal::CaptureStderr();
  reader.TakeBytes(nullptr, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(reader.position(), 1U);

  reader.SkipToAlignment(4);
  ASSERT_EQ(reader.position(), 4U);
  testing::internal::CaptureStderr();
  reader.TakeBytes(nullptr, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 4U);
}

TEST(ByteBufferStreamReaderTest, SkipToAlignmentMovesToTheNextMultipleFromTheMessageStart) {
  const std::vector<uint8_t> bytes(16);
  struct Case {
    size_t start;
    uint8_t alignment;
    uint64_t expected;
  };
  const Case cases[] = {{0, 4, 0}, {1, 4, 4}, {4, 4, 4}, {5, 4, 8}, {9, 8, 16},
                        {8, 8, 8}, {3, 8, 8}, {7, 1, 7}, {3, 2, 4}, {15, 8, 16}};
  testing::internal::CaptureStderr();
  for (const Case& c : cases) {
    ByteBufferStreamReader reader(bytes.data(), bytes.size());
    std::vector<uint8_t> skipped(c.start);
    reader.TakeBytes(skipped.data(), c.start);
    reader.SkipToAlignment(c.alignment);
    EXPECT_EQ(reader.position(), c.expected)
        << "start " << c.start << ", alignment " << int{c.alignment};
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(ByteBufferStreamReaderTest, SkipToAlignmentMayPassTheEndSilently) {
  const std::vector<uint8_t> bytes{0x01};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();
  testing::internal::CaptureStderr();
  reader.SkipToAlignment(8);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(reader.position(), 8U);

  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.TakeByte(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 8U);
}

TEST(ByteBufferStreamReaderTest, RequireChecksTheRemainingBytesWithoutMoving) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(reader.Require(0));
  EXPECT_TRUE(reader.Require(2));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(reader.position(), 1U);
  EXPECT_EQ(reader.TakeByte(), 0x02);
}

TEST(ByteBufferStreamReaderTest, FailedRequireReportsOnceAndExhaustsTheReader) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03};
  for (uint64_t count : {uint64_t{3}, uint64_t{0xFFFFFFFF}, std::numeric_limits<uint64_t>::max()}) {
    ByteBufferStreamReader reader(bytes.data(), bytes.size());
    reader.TakeByte();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(reader.Require(count)) << count;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1)) << count;
    EXPECT_EQ(reader.position(), 3U) << count;
  }
}

TEST(ByteBufferStreamReaderTest, FailedRequireBeyondTheEndNeverMovesBack) {
  const std::vector<uint8_t> bytes{0x01};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();
  reader.SkipToAlignment(8);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(reader.Require(0));
  EXPECT_FALSE(reader.Require(1));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 8U);
}

TEST(ByteBufferStreamReaderTest, TakeViewHandsOutTheMessageBytesInPlace) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03, 0x04};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();
  const uint8_t* view = nullptr;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(reader.TakeView(2, &view));
  EXPECT_EQ(view, bytes.data() + 1);
  EXPECT_EQ(reader.position(), 3U);
  ASSERT_TRUE(reader.TakeView(1, &view));
  EXPECT_EQ(view, bytes.data() + 3);
  ASSERT_TRUE(reader.TakeView(0, &view));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(reader.position(), 4U);
}

TEST(ByteBufferStreamReaderTest, ShortTakeViewReportsOnceAndExhaustsTheReader) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03, 0x04};
  for (uint64_t count :
       {uint64_t{4}, uint64_t{0x100000000}, std::numeric_limits<uint64_t>::max()}) {
    ByteBufferStreamReader reader(bytes.data(), bytes.size());
    reader.TakeByte();
    const uint8_t* view = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(reader.TakeView(count, &view)) << count;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1)) << count;
    EXPECT_EQ(reader.position(), 4U) << count;
  }
}

TEST(ByteBufferStreamReaderTest, EmptyTakeViewFailsBeyondTheEnd) {
  const std::vector<uint8_t> bytes{0x01};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  reader.TakeByte();
  reader.SkipToAlignment(4);
  const uint8_t* view = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(reader.TakeView(0, &view));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), InvalidReadLines(1));
  EXPECT_EQ(reader.position(), 4U);
}

TEST(ByteBufferStreamReaderTest, SkipToEndExhaustsSilentlyAndNeverMovesBack) {
  const std::vector<uint8_t> bytes{0x01, 0x02, 0x03};
  ByteBufferStreamReader reader(bytes.data(), bytes.size());
  testing::internal::CaptureStderr();
  reader.SkipToEnd();
  EXPECT_EQ(reader.position(), 3U);
  reader.SkipToAlignment(8);
  reader.SkipToEnd();
  EXPECT_EQ(reader.position(), 8U);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace flutter
