#include "platform/winrt/imaging/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/winrt/imaging/image_header.h"
#include "platform/winrt/imaging/tiff_header.h"

namespace winrt_layer {
namespace {

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();

std::vector<BYTE> ReadCorpusFile(const std::string& name) {
  std::ifstream file(std::string(WINRT_FUZZ_CORPUS_DIR) + "/image_header_fuzzer/" + name,
                     std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(file), {});
}

TEST(ByteReaderTest, ReadsEitherByteOrderAndNothingThatLeavesTheContent) {
  const std::vector<BYTE> content = {0x01, 0x02, 0x03, 0x04, 0x05};
  ByteReader little(content);
  ByteReader big(content, ByteReader::Order::kBigEndian);
  uint32_t value = 7;
  ASSERT_TRUE(little.Read(1, 2, &value));
  EXPECT_EQ(value, 0x0302u);
  ASSERT_TRUE(big.Read(1, 4, &value));
  EXPECT_EQ(value, 0x02030405u);
  uint64_t wide = 0;
  EXPECT_FALSE(big.Read(0, 8, &wide));

  // The last bytes read; one past them, or an offset whose sum with the
  // length wraps, does not, and leaves the value as it was.
  value = 7;
  EXPECT_TRUE(little.Read(4, 1, &value));
  EXPECT_EQ(value, 5u);
  for (uint64_t offset : {uint64_t{4}, uint64_t{5}, uint64_t{6}, kMax - 7, kMax}) {
    value = 7;
    EXPECT_FALSE(little.Read(offset, 2, &value)) << offset;
    EXPECT_EQ(value, 7u);
  }
  EXPECT_TRUE(little.Has(5, 0));
  EXPECT_FALSE(little.Has(2, kMax - 1));
  EXPECT_FALSE(little.Read(0, 0, &value));
  EXPECT_FALSE(little.Read(0, 5, &value));
}

TEST(ByteReaderTest, CheckedArithmeticRefusesWhatWraps) {
  uint64_t result = 0;
  EXPECT_TRUE(CheckedAdd(kMax - 8, 8, &result));
  EXPECT_EQ(result, kMax);
  EXPECT_FALSE(CheckedAdd(kMax - 7, 8, &result));
  EXPECT_TRUE(CheckedMultiply(uint64_t{1} << 32, (uint64_t{1} << 32) - 1, &result));
  EXPECT_FALSE(CheckedMultiply(uint64_t{1} << 32, uint64_t{1} << 32, &result));
}

TEST(ByteReaderTest, TiffDirectoryChainThatWrapsEndsTheCount) {
  // A BigTIFF of one page whose next directory lies 2^64 - 8 bytes on: the
  // sum of that offset and a count's size wraps to a few bytes.
  std::vector<BYTE> content = ReadCorpusFile("bigtiff_next_directory_wraps.tiff");
  ASSERT_EQ(content.size(), 220u);
  EXPECT_EQ(CountTiffPages(content), 1u);
  ImageHeader header;
  ASSERT_EQ(ImageHeader::Read(content, &header).code, S_OK);
  EXPECT_EQ(header.frame_count, 1u);
  EXPECT_EQ(header.width, 8u);
}

}  // namespace
}  // namespace winrt_layer
