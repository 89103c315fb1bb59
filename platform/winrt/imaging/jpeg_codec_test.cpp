// jpeglib.h needs size_t and FILE declared first.
#include <stdio.h>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/winrt/imaging/jpeg_codec.h"

namespace winrt_layer {
namespace {

constexpr int kSide = 256;
// Dark bars across the whole width, one every kBarPeriod rows: every part
// of the image has some.
constexpr int kBarPeriod = 32;
constexpr int kBarHeight = 8;

struct EncodeOptions {
  bool progressive = false;
  // MCU rows between restart markers; 0 for none.
  int restart_rows = 0;
};

// A kSide x kSide gray JPEG of the bars, made by libjpeg itself.
std::vector<uint8_t> EncodeBars(const EncodeOptions& options) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kSide;
  info.image_height = kSide;
  info.input_components = 1;
  info.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (options.progressive) {
    jpeg_simple_progression(&info);
  }
  info.restart_in_rows = options.restart_rows;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(kSide);
  while (info.next_scanline < info.image_height) {
    bool bar = static_cast<int>(info.next_scanline) % kBarPeriod < kBarHeight;
    std::fill(row.begin(), row.end(), bar ? 0 : 255);
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> content(buffer, buffer + size);
  free(buffer);
  return content;
}

// The offset of the first `marker` (its 0xFF) at or after `from`.
size_t FindMarker(const std::vector<uint8_t>& content, uint8_t marker, size_t from = 0) {
  for (size_t i = from; i + 1 < content.size(); ++i) {
    if (content[i] == 0xFF && content[i + 1] == marker) {
      return i;
    }
  }
  ADD_FAILURE() << "no marker " << static_cast<int>(marker);
  return content.size();
}

// The darkest and lightest pixels of rows [first_row, end_row).
std::pair<l_uint32, l_uint32> Range(PIX* pix, l_int32 first_row, l_int32 end_row) {
  l_uint32 darkest = 255;
  l_uint32 lightest = 0;
  for (l_int32 y = first_row; y < end_row; ++y) {
    for (l_int32 x = 0; x < pixGetWidth(pix); ++x) {
      l_uint32 value = 0;
      pixGetPixel(pix, x, y, &value);
      darkest = std::min(darkest, value);
      lightest = std::max(lightest, value);
    }
  }
  return {darkest, lightest};
}

constexpr uint8_t kStartOfScan = 0xDA;

TEST(JpegCodecTest, DataEndingAtAMarkerLeavesTheRestWhite) {
  // The scan's data cut in the middle and the file ended there, as a
  // file made up to declare a huge image is: libjpeg would decode the rest
  // from nothing, gray, at the full cost.
  std::vector<uint8_t> content = EncodeBars({});
  size_t scan = FindMarker(content, kStartOfScan);
  content.resize(scan + (content.size() - scan) / 2);
  content.push_back(0xFF);
  content.push_back(JPEG_EOI);
  ScopedPix pix = DecodeJpeg(content);
  ASSERT_TRUE(pix);
  EXPECT_LT(Range(pix.get(), 0, kSide / 4).first, 64u);
  EXPECT_EQ(Range(pix.get(), kSide - 2 * kBarPeriod, kSide), std::make_pair(255u, 255u));
}

TEST(JpegCodecTest, DataResumesAfterARestartMarkerMetEarly) {
  // A segment that lost bytes ends at its restart marker before its last
  // block: libjpeg takes the data up again at the next segment, so the
  // image goes on below it.
  std::vector<uint8_t> content = EncodeBars({.restart_rows = 1});
  size_t first_restart = FindMarker(content, JPEG_RST0, FindMarker(content, kStartOfScan));
  size_t second_restart = FindMarker(content, JPEG_RST0 + 1, first_restart + 2);
  size_t segment = first_restart + 2;
  content.erase(content.begin() + static_cast<std::ptrdiff_t>(segment + 2),
                content.begin() + static_cast<std::ptrdiff_t>(second_restart));
  ScopedPix pix = DecodeJpeg(content);
  ASSERT_TRUE(pix);
  EXPECT_LT(Range(pix.get(), kSide - kBarPeriod, kSide).first, 64u);
}

TEST(JpegCodecTest, RestartIntervalsWithoutDataEndTheDecoding) {
  // A scan of nothing but restart markers, as a file a few hundred bytes
  // long declaring a huge image can be: the rest is white, not decoded.
  std::vector<uint8_t> content = EncodeBars({.restart_rows = 1});
  size_t scan = FindMarker(content, kStartOfScan);
  content.resize(scan + 2 + (size_t{content[scan + 2]} << 8 | content[scan + 3]));
  for (int i = 0; i < kSide / 8; ++i) {
    content.push_back(0xFF);
    content.push_back(static_cast<uint8_t>(JPEG_RST0 + i % 8));
  }
  content.push_back(0xFF);
  content.push_back(JPEG_EOI);
  ScopedPix pix = DecodeJpeg(content);
  ASSERT_TRUE(pix);
  EXPECT_EQ(Range(pix.get(), kSide / 2, kSide), std::make_pair(255u, 255u));
}

TEST(JpegCodecTest, ProgressiveFileCutShortKeepsWhatItsScansHold) {
  // The first scans hold every block's coarse values: what a viewer shows
  // of a progressive photo that did not load to the end.
  std::vector<uint8_t> content = EncodeBars({.progressive = true});
  content.resize(content.size() * 6 / 10);
  ScopedPix pix = DecodeJpeg(content);
  ASSERT_TRUE(pix);
  for (l_int32 top = 0; top < kSide; top += kBarPeriod) {
    std::pair<l_uint32, l_uint32> range = Range(pix.get(), top, top + kBarPeriod);
    EXPECT_LT(range.first, 64u) << "rows from " << top;
    EXPECT_GT(range.second, 192u) << "rows from " << top;
  }
}

TEST(JpegCodecTest, ScansPastTheLimitAreLeftUnread) {
  // The first scan, empty, kMaxJpegScans times before the file's own: the
  // scans that hold the bars are never read.
  std::vector<uint8_t> content = EncodeBars({.progressive = true});
  size_t scan = FindMarker(content, kStartOfScan);
  size_t header_end = scan + 2 + (size_t{content[scan + 2]} << 8 | content[scan + 3]);
  std::vector<uint8_t> empty_scan(content.begin() + static_cast<std::ptrdiff_t>(scan),
                                  content.begin() + static_cast<std::ptrdiff_t>(header_end));
  ScopedPix whole = DecodeJpeg(content);
  ASSERT_TRUE(whole);
  EXPECT_LT(Range(whole.get(), 0, kSide).first, 64u);
  for (int i = 0; i < kMaxJpegScans; ++i) {
    content.insert(content.begin() + static_cast<std::ptrdiff_t>(scan), empty_scan.begin(),
                   empty_scan.end());
  }
  ScopedPix pix = DecodeJpeg(content);
  ASSERT_TRUE(pix);
  std::pair<l_uint32, l_uint32> range = Range(pix.get(), 0, kSide);
  EXPECT_EQ(range.first, range.second);
}

TEST(JpegCodecTest, DecodingEndsWithoutAnImageOnceAStopIsAsked) {
  // One scan read line by line, and several read whole first: each asks
  // as it goes, and ends at the first yes.
  for (bool progressive : {false, true}) {
    std::vector<uint8_t> content = EncodeBars({.progressive = progressive});
    int asked = 0;
    EXPECT_TRUE(DecodeJpeg(content, [&asked] { return ++asked < 0; })) << progressive;
    int stop_at = asked / 2;
    asked = 0;
    EXPECT_FALSE(DecodeJpeg(content, [&asked, stop_at] { return ++asked == stop_at; }))
        << progressive;
    EXPECT_EQ(asked, stop_at) << progressive;
  }
}

}  // namespace
}  // namespace winrt_layer
