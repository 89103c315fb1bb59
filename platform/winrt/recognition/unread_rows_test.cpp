#include "platform/winrt/recognition/unread_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/winrt/recognition/shapes_test_support.h"

namespace winrt_layer {
namespace {

TEST(UnreadRowsTest, ARowNoLineHoldsIsFoundAndAnIconOrASwitchIsNot) {
  // Two lines of the French page on a screen, the second left out of the
  // lines read, as a field's placeholder; beside them an icon and a switch.
  ScopedPix fixture(pixRead((std::string(WINRT_FIXTURES_DIR) + "/french.png").c_str()));
  ScopedPix text(fixture ? pixConvertTo8(fixture.get(), 0) : nullptr);
  ScopedPix page(pixCreate(900, 300, 8));
  ASSERT_TRUE(text && page);
  pixSetAll(page.get());
  pixRasterop(page.get(), 40, 40, 400, 40, PIX_SRC, text.get(), 62, 67);
  pixRasterop(page.get(), 40, 180, 400, 40, PIX_SRC, text.get(), 62, 67);
  ScopedBox icon(boxCreate(700, 170, 80, 80));
  ASSERT_EQ(pixSetInRectArbitrary(page.get(), icon.get(), 0), 0);
  ScopedPix thresholded(pixThresholdToBinary(page.get(), 128));
  ASSERT_TRUE(thresholded);
  // A switch at the end of the row, which would be read with it ("@)").
  ASSERT_TRUE(PaintPill(thresholded.get(), 450, 172, 56, 1));
  ASSERT_TRUE(PaintDisc(thresholded.get(), 534, 200, 22, 0));
  BOX* ink = nullptr;
  ScopedBox first(boxCreate(40, 40, 400, 40));
  ASSERT_EQ(pixClipBoxToForeground(thresholded.get(), first.get(), nullptr, &ink), 0);
  ScopedBox first_ink(ink);
  std::vector<TextLine> read = {{"read", 0, first_ink->x, first_ink->y, first_ink->x + first_ink->w,
                                 first_ink->y + first_ink->h, 95}};

  UnreadRows rows = FindUnreadRows(page.get(), thresholded.get(), read);
  ASSERT_EQ(rows.boxes.size(), 1u);
  EXPECT_LT(rows.boxes[0].x, 60);
  EXPECT_GT(rows.boxes[0].x + rows.boxes[0].w, 400);
  EXPECT_LT(rows.boxes[0].x + rows.boxes[0].w, 450);
  EXPECT_GE(rows.boxes[0].y, 170);
  EXPECT_LE(rows.boxes[0].y + rows.boxes[0].h, 230);

  // Without a line read, the text's size is not known.
  EXPECT_TRUE(FindUnreadRows(page.get(), thresholded.get(), {}).boxes.empty());
}

}  // namespace
}  // namespace winrt_layer
