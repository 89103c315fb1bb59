#include "platform/winrt/recognition/line_cut.h"

#include <gtest/gtest.h>

#include <vector>

namespace winrt_layer {
namespace {

constexpr l_int32 kWidth = 1000;
constexpr l_int32 kLineHeight = 30;
constexpr l_int32 kLinePitch = 50;
constexpr l_int32 kGround = 200;

// A prepared page: dark words, 30 pixels high and 10 apart, on lines 50
// pixels apart. `line_lengths` is each line's length in pixels; on lines
// marked in `accented` every word has an accent 4 pixels high, apart from
// it.
class TestPage {
 public:
  explicit TestPage(std::vector<l_int32> line_lengths, std::vector<bool> accented = {})
      : lines_(line_lengths.size()),
        pix_(pixCreate(kWidth, kLinePitch * static_cast<l_int32>(lines_) + kLinePitch, 8)) {
    pixSetAllArbitrary(pix_.get(), kGround);
    for (size_t i = 0; i < lines_; ++i) {
      l_int32 top = LineTop(i);
      for (l_int32 x = 20; x < 20 + line_lengths[i]; x += 70) {
        Fill(x, top, std::min(60, 20 + line_lengths[i] - x), kLineHeight);
        if (i < accented.size() && accented[i]) {
          Fill(x + 20, top - 7, 10, 4);
        }
      }
    }
  }

  PIX* get() const { return pix_.get(); }
  l_int32 LineTop(size_t i) const { return kLinePitch / 2 + kLinePitch * static_cast<l_int32>(i); }

  // The number of lines whose top is below `row`.
  size_t LinesBelow(l_int32 row) const {
    size_t count = 0;
    for (size_t i = 0; i < lines_; ++i) {
      count += LineTop(i) > row ? 1 : 0;
    }
    return count;
  }

  bool RowIsBlank(l_int32 row) const {
    for (l_int32 x = 0; x < kWidth; ++x) {
      l_uint32 value = 0;
      pixGetPixel(pix_.get(), x, row, &value);
      if (value != kGround) {
        return false;
      }
    }
    return true;
  }

  void Fill(l_int32 x, l_int32 y, l_int32 width, l_int32 height) {
    ScopedBox box(boxCreate(x, y, width, height));
    pixSetInRectArbitrary(pix_.get(), box.get(), 20);
  }

 private:
  size_t lines_;
  ScopedPix pix_;
};

TEST(LineCutTest, BothRecognizersEndTogether) {
  // Twelve lines of 900 pixels, each 30 line heights of work.
  TestPage page(std::vector<l_int32>(12, 900));
  // Starting together, each reads half.
  l_int32 cut = FindLineCut(page.get(), 0);
  ASSERT_GT(cut, 0);
  EXPECT_TRUE(page.RowIsBlank(cut));
  EXPECT_EQ(page.LinesBelow(cut), 6u);
  // Starting four lines' work later, the second reads four lines fewer.
  cut = FindLineCut(page.get(), 4 * 30);
  ASSERT_GT(cut, 0);
  EXPECT_TRUE(page.RowIsBlank(cut));
  EXPECT_EQ(page.LinesBelow(cut), 4u);

  // Long lines weigh more than short ones: two long lines above the cut
  // take as long as a long one and six short ones below.
  TestPage uneven({900, 900, 900, 150, 150, 150, 150, 150, 150});
  cut = FindLineCut(uneven.get(), 0);
  EXPECT_EQ(uneven.LinesBelow(cut), 7u);
}

TEST(LineCutTest, ShortTextIsReadByOneRecognizer) {
  // A second recognizer starting later than the first would end reading
  // would only cost.
  TestPage page(std::vector<l_int32>(3, 900));
  EXPECT_EQ(FindLineCut(page.get(), 3 * 30), 0);
  TestPage one_line({900});
  EXPECT_EQ(FindLineCut(one_line.get(), 0), 0);
  TestPage blank({});
  EXPECT_EQ(FindLineCut(blank.get(), 0), 0);
}

TEST(LineCutTest, TextInColumnsIsNotCut) {
  // Two columns of words with a gutter of 100 pixels, over three line
  // heights: cut across, the left column's lines would be read out of order.
  TestPage page(std::vector<l_int32>(12, 900));
  ScopedBox gutter(boxCreate(440, 0, 100, pixGetHeight(page.get())));
  pixSetInRectArbitrary(page.get(), gutter.get(), kGround);
  EXPECT_EQ(FindLineCut(page.get(), 0), 0);

  // Spaces between words are no gutters.
  TestPage prose(std::vector<l_int32>(12, 900));
  ScopedBox space(boxCreate(440, 0, 40, pixGetHeight(prose.get())));
  pixSetInRectArbitrary(prose.get(), space.get(), kGround);
  EXPECT_GT(FindLineCut(prose.get(), 0), 0);
}

TEST(LineCutTest, AccentsStayWithTheirLines) {
  // The rows between the accents and their words are blank, and taken
  // apart, the accents would weigh as much as the words: with this start,
  // the even share falls between the seventh line and its accents. The
  // page is cut only between a line and the next line's accents.
  TestPage page(std::vector<l_int32>(12, 900), std::vector<bool>(12, true));
  l_int32 cut = FindLineCut(page.get(), 70);
  ASSERT_GT(cut, 0);
  EXPECT_EQ(page.LinesBelow(cut + 8), page.LinesBelow(cut));
}

TEST(LineCutTest, ReadsBlackAndWhitePages) {
  TestPage page(std::vector<l_int32>(12, 900));
  ScopedPix binary(pixThresholdToBinary(page.get(), 128));
  ASSERT_TRUE(binary);
  l_int32 cut = FindLineCut(binary.get(), 0);
  EXPECT_EQ(page.LinesBelow(cut), 6u);
}

}  // namespace
}  // namespace winrt_layer
