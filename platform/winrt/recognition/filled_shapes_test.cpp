#include "platform/winrt/recognition/filled_shapes.h"

#include <gtest/gtest.h>

#include "platform/winrt/imaging/leptonica_image.h"
#include "platform/winrt/recognition/shapes_test_support.h"

namespace winrt_layer {
namespace {

TEST(FilledShapesTest, SwitchesAndRadioButtonsAreControlsAndAChipOrAnOIsNot) {
  constexpr l_int32 kText = 14;
  constexpr l_int32 kHeight = 30;
  const WordBox pill{20, 20, 20 + 2 * kHeight + 1, 20 + kHeight + 1};
  ScopedPix ink(pixCreate(200, 100, 1));
  ASSERT_NE(ink, nullptr);

  // On: a knob cut out at the right end.
  ASSERT_TRUE(PaintPill(ink.get(), pill.left, pill.top, kHeight, 1));
  ASSERT_TRUE(PaintDisc(ink.get(), pill.left + 3 * kHeight / 2, pill.top + kHeight / 2, 11, 0));
  EXPECT_TRUE(IsControl(ink.get(), pill, kText));
  // Beside text as tall as it is, it is a letter "O" as well as anything.
  EXPECT_FALSE(IsControl(ink.get(), pill, kHeight));

  // Off: an outline with a dot at the left end.
  ASSERT_TRUE(PaintPill(ink.get(), pill.left + 3, pill.top + 3, kHeight - 6, 0));
  ASSERT_TRUE(PaintDisc(ink.get(), pill.left + kHeight / 2, pill.top + kHeight / 2, 6, 1));
  EXPECT_TRUE(IsControl(ink.get(), pill, kText));

  // A chip of that shape with a short word cut out of it ("All").
  ASSERT_TRUE(PaintPill(ink.get(), pill.left, pill.top, kHeight, 1));
  BOX a = Rectangle(pill.left + 18, pill.top + 8, 9, 14);
  BOX l1 = Rectangle(pill.left + 31, pill.top + 8, 2, 14);
  BOX l2 = Rectangle(pill.left + 37, pill.top + 8, 2, 14);
  for (BOX* letter : {&a, &l1, &l2}) {
    EXPECT_EQ(pixClearInRect(ink.get(), letter), 0);
  }
  EXPECT_FALSE(IsControl(ink.get(), pill, kText));

  // A radio button that is on, a ring with a dot; off, it is an "O".
  const WordBox radio{100, 20, 100 + kHeight + 1, 20 + kHeight + 1};
  ASSERT_TRUE(PaintDisc(ink.get(), 100 + kHeight / 2, 20 + kHeight / 2, kHeight / 2, 1));
  ASSERT_TRUE(PaintDisc(ink.get(), 100 + kHeight / 2, 20 + kHeight / 2, kHeight / 2 - 3, 0));
  EXPECT_FALSE(IsControl(ink.get(), radio, kText));
  ASSERT_TRUE(PaintDisc(ink.get(), 100 + kHeight / 2, 20 + kHeight / 2, 7, 1));
  EXPECT_TRUE(IsControl(ink.get(), radio, kText));
}

TEST(FilledShapesTest, SolidShapesArePaintedOutAndAvatarsWithInitialsOrArtAreNot) {
  // Three discs, 40 pixels across beside 12-pixel characters, on white: a
  // solid one, one with an initial cut out of it, one set in a gray disc.
  ScopedPix page(pixCreate(300, 100, 8));
  ASSERT_NE(page, nullptr);
  pixSetAll(page.get());
  for (l_int32 x : {50, 150, 250}) {
    ASSERT_TRUE(PaintDisc(page.get(), x, 50, 20, 60));
  }
  BOX initial = Rectangle(145, 40, 10, 20);
  ASSERT_EQ(pixSetInRectArbitrary(page.get(), &initial, 255), 0);
  ASSERT_TRUE(PaintDisc(page.get(), 250, 50, 20 + 8, 160));
  ASSERT_TRUE(PaintDisc(page.get(), 250, 50, 14, 60));

  EraseFilledShapes(page.get(), 12);
  l_uint32 solid = 0, avatar = 0, art = 0;
  pixGetPixel(page.get(), 50, 50, &solid);
  pixGetPixel(page.get(), 140, 50, &avatar);
  pixGetPixel(page.get(), 250, 50, &art);
  EXPECT_EQ(solid, 255u);
  EXPECT_EQ(avatar, 60u);
  EXPECT_EQ(art, 60u);
}

}  // namespace
}  // namespace winrt_layer
