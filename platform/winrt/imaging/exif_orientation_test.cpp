#include "platform/winrt/imaging/exif_orientation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/winrt/runtime_test_support.h"

#include "platform/winrt/runtime_test_support.h"

namespace winrt_layer {
namespace {

// A JPEG's start, an APP1 segment holding `tiff` after the EXIF signature,
// then the start of the image data.
std::vector<uint8_t> JpegWithApp1(const std::vector<uint8_t>& tiff) {
  std::vector<uint8_t> jpeg = {0xFF, 0xD8};
  std::vector<uint8_t> segment = testing::ExifSegment(tiff);
  jpeg.insert(jpeg.end(), segment.begin(), segment.end());
  jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0x00, 0x02});
  return jpeg;
}

// A TIFF block whose first directory holds one entry: `tag` of `type`
// with `value`, in Motorola (big-endian) or Intel byte order.
std::vector<uint8_t> TiffBlock(bool big_endian, uint16_t tag, uint16_t type, uint16_t value) {
  auto u16 = [&](uint16_t v) {
    return big_endian ? std::vector<uint8_t>{static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}
                      : std::vector<uint8_t>{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  };
  auto u32 = [&](uint32_t v) {
    std::vector<uint8_t> high = u16(static_cast<uint16_t>(v >> 16));
    std::vector<uint8_t> low = u16(static_cast<uint16_t>(v));
    if (big_endian) {
      high.insert(high.end(), low.begin(), low.end());
      return high;
    }
    low.insert(low.end(), high.begin(), high.end());
    return low;
  };
  std::vector<uint8_t> block =
      big_endian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'};
  for (const auto& part :
       {u16(42), u32(8), u16(1), u16(tag), u16(type), u32(1), u16(value), u16(0), u32(0)}) {
    block.insert(block.end(), part.begin(), part.end());
  }
  return block;
}

constexpr uint16_t kOrientation = 0x0112;
constexpr uint16_t kShort = 3;

TEST(ExifOrientationTest, ReadsEveryValueInBothByteOrders) {
  for (bool big_endian : {true, false}) {
    for (uint16_t value = 1; value <= 8; ++value) {
      EXPECT_EQ(
          ReadJpegOrientation(JpegWithApp1(TiffBlock(big_endian, kOrientation, kShort, value))),
          value)
          << "big endian " << big_endian;
    }
  }
}

TEST(ExifOrientationTest, FindsTheExifBlockAfterOtherSegments) {
  std::vector<uint8_t> jpeg = JpegWithApp1(TiffBlock(true, kOrientation, kShort, 6));
  // A JFIF APP0 segment and a fill byte before the EXIF block.
  std::vector<uint8_t> app0 = {0xFF, 0xE0, 0x00, 0x07, 'J', 'F', 'I', 'F', 0, 0xFF};
  jpeg.insert(jpeg.begin() + 2, app0.begin(), app0.end());
  EXPECT_EQ(ReadJpegOrientation(jpeg), 6u);
}

TEST(ExifOrientationTest, AbsentOrUnreadableMeansAsStored) {
  // No EXIF at all, and content that is no JPEG.
  EXPECT_EQ(ReadJpegOrientation({0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}), 1u);
  EXPECT_EQ(ReadJpegOrientation({}), 1u);
  EXPECT_EQ(ReadJpegOrientation({'I', 'I', 42, 0}), 1u);
  // Values out of range, the wrong type, another tag.
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(TiffBlock(true, kOrientation, kShort, 0))), 1u);
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(TiffBlock(true, kOrientation, kShort, 9))), 1u);
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(TiffBlock(true, kOrientation, 4, 6))), 1u);
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(TiffBlock(true, 0x0110, kShort, 6))), 1u);
  // A broken byte-order mark or magic number.
  std::vector<uint8_t> block = TiffBlock(true, kOrientation, kShort, 6);
  block[0] = 'X';
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(block)), 1u);
  block = TiffBlock(true, kOrientation, kShort, 6);
  block[3] = 43;
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(block)), 1u);
  // The directory offset pointing past the block.
  block = TiffBlock(true, kOrientation, kShort, 6);
  block[7] = 200;
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(block)), 1u);
  // An entry count larger than the block: the entries that are there are
  // read, those that are not end the search.
  block = TiffBlock(true, kOrientation, kShort, 6);
  block[8] = 0x40;
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(block)), 6u);
  block = TiffBlock(true, 0x0110, kShort, 6);
  block[8] = 0x40;
  EXPECT_EQ(ReadJpegOrientation(JpegWithApp1(block)), 1u);
}

TEST(ExifOrientationTest, TruncatedSegmentsMeanAsStored) {
  std::vector<uint8_t> jpeg = JpegWithApp1(TiffBlock(true, kOrientation, kShort, 6));
  // Cut anywhere inside the EXIF block: the segment's length runs past the
  // end of the file, or the entry is cut short.
  for (size_t size = 0; size < jpeg.size() - 4; ++size) {
    std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_EQ(ReadJpegOrientation(cut), 1u) << size;
  }
  // A segment length shorter than the block it holds.
  jpeg[5] = 12;
  EXPECT_EQ(ReadJpegOrientation(jpeg), 1u);
}

// Where a viewer shows the stored pixel (x, y) of a width x height image,
// by the definition of each orientation.
void Displayed(uint32_t orientation, int width, int height, int x, int y, int* dx, int* dy) {
  switch (orientation) {
    case 2:
      *dx = width - 1 - x;
      *dy = y;
      break;
    case 3:
      *dx = width - 1 - x;
      *dy = height - 1 - y;
      break;
    case 4:
      *dx = x;
      *dy = height - 1 - y;
      break;
    case 5:
      *dx = y;
      *dy = x;
      break;
    case 6:
      *dx = height - 1 - y;
      *dy = x;
      break;
    case 7:
      *dx = height - 1 - y;
      *dy = width - 1 - x;
      break;
    case 8:
      *dx = y;
      *dy = width - 1 - x;
      break;
    default:
      *dx = x;
      *dy = y;
  }
}

TEST(ExifOrientationTest, ApplyingPutsEveryPixelWhereAViewerShowsIt) {
  constexpr int kWidth = 3;
  constexpr int kHeight = 2;
  for (uint32_t orientation = 1; orientation <= 8; ++orientation) {
    ScopedPix stored(pixCreate(kWidth, kHeight, 8));
    ASSERT_TRUE(stored);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        pixSetPixel(stored.get(), x, y, static_cast<l_uint32>(10 * y + x + 1));
      }
    }
    ScopedPix shown = ApplyOrientation(std::move(stored), orientation);
    ASSERT_TRUE(shown) << orientation;
    bool turned = orientation >= 5;
    EXPECT_EQ(pixGetWidth(shown.get()), turned ? kHeight : kWidth) << orientation;
    EXPECT_EQ(pixGetHeight(shown.get()), turned ? kWidth : kHeight) << orientation;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        int dx = 0;
        int dy = 0;
        Displayed(orientation, kWidth, kHeight, x, y, &dx, &dy);
        l_uint32 value = 0;
        pixGetPixel(shown.get(), dx, dy, &value);
        EXPECT_EQ(value, static_cast<l_uint32>(10 * y + x + 1))
            << "orientation " << orientation << ", pixel " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace winrt_layer
