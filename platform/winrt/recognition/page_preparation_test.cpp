#include "platform/winrt/recognition/page_preparation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace winrt_layer {
namespace {

constexpr float kRadiansPerDegree = 0.01745329f;

ScopedPix ReadGrayFixture(const char* name) {
  ScopedPix image(pixRead((std::string(WINRT_FIXTURES_DIR) + "/" + name).c_str()));
  return image ? ScopedPix(pixConvertTo8(image.get(), 0)) : nullptr;
}

// `gray` turned `degrees` clockwise on white, grown to keep its corners.
ScopedPix Turned(PIX* gray, float degrees) {
  return ScopedPix(pixRotate(gray, degrees * kRadiansPerDegree, L_ROTATE_AREA_MAP, L_BRING_IN_WHITE,
                             pixGetWidth(gray), pixGetHeight(gray)));
}

// `gray` set on a white sheet `times` its size, as text is on a page.
ScopedPix OnASheet(PIX* gray, int times) {
  l_int32 width = pixGetWidth(gray);
  l_int32 height = pixGetHeight(gray);
  ScopedPix sheet(pixCreate(width * times, height * times, 8));
  pixSetAll(sheet.get());
  pixRasterop(sheet.get(), width * (times - 1) / 2, height * (times - 1) / 2, width, height,
              PIX_SRC, gray, 0, 0);
  return sheet;
}

// The French page reads "Le marché ouvre ses portes à huit heures." and
// more: lower case, with ascenders and descenders.
class PagePreparationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    french_ = ReadGrayFixture("french.png");
    ASSERT_TRUE(french_);
  }

  ScopedPix french_;
};

TEST_F(PagePreparationTest, FindsTheTiltThatLevelsTheLines) {
  // At 45 degrees either way of leveling is right: the test stops short.
  for (float tilt : {-44.0f, -12.0f, 7.0f, 25.0f, 44.0f}) {
    ScopedPix tilted = Turned(french_.get(), tilt);
    PagePreparation page;
    ASSERT_TRUE(page.Analyze(tilted.get()));
    EXPECT_NEAR(page.level_degrees(), -tilt, 1) << "tilted " << tilt;
    EXPECT_FALSE(page.LinesRunVertically()) << "tilted " << tilt;
    // Undecided is allowed, wrong is not.
    EXPECT_NE(page.GuessQuarterTurns(), 2) << "tilted " << tilt;

    // Prepared, the page is level: analyzed again, it needs no turn.
    ScopedPix prepared = page.Prepare(tilted.get(), 0);
    ASSERT_TRUE(prepared);
    PagePreparation again;
    ASSERT_TRUE(again.Analyze(prepared.get()));
    EXPECT_NEAR(again.level_degrees(), 0, 1) << "tilted " << tilt;
  }
}

TEST_F(PagePreparationTest, TellsWhichWayUpTheLettersStand) {
  int answered = 0;
  for (int turns : {0, 1, 2, 3}) {
    ScopedPix turned(pixRotateOrth(french_.get(), turns));
    PagePreparation page;
    ASSERT_TRUE(page.Analyze(turned.get()));
    EXPECT_EQ(page.LinesRunVertically(), turns % 2 == 1) << turns << " quarter turns";
    // Once leveled, the letters stand upright or upside down; when the
    // guess answers, the two turns together put them upright.
    int guessed = page.GuessQuarterTurns();
    if (guessed < 0) {
      continue;
    }
    ++answered;
    float total = page.level_degrees() + 90.0f * static_cast<float>(guessed) +
                  90.0f * static_cast<float>(turns);
    EXPECT_NEAR(std::remainder(total, 360.0f), 0, 1) << turns << " quarter turns";
  }
  EXPECT_EQ(answered, 4);
}

TEST_F(PagePreparationTest, CapitalsAndDigitsLeaveTheOrientationOpen) {
  // The receipt is capitals and digits, which look much the same either
  // way up: no guess, so that Tesseract's detection is asked.
  ScopedPix receipt = ReadGrayFixture("english.png");
  ASSERT_TRUE(receipt);
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(receipt.get()));
  EXPECT_EQ(page.GuessQuarterTurns(), -1);
}

TEST_F(PagePreparationTest, LargeTextIsScaledToTheSizeTesseractReads) {
  ScopedPix large(pixScale(french_.get(), 4, 4));
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(large.get()));
  ASSERT_LT(page.scale(), 1);
  ScopedPix prepared = page.Prepare(large.get(), 0);
  ASSERT_TRUE(prepared);
  PagePreparation again;
  ASSERT_TRUE(again.Analyze(prepared.get()));
  // Text of about 24 pixels is left as it is.
  EXPECT_EQ(again.scale(), 1);
  EXPECT_NEAR(static_cast<float>(pixGetHeight(prepared.get())),
              static_cast<float>(pixGetHeight(large.get())) * page.scale(), 2);

  // The page's own characters are about 29 pixels high: a fifth smaller,
  // they are read as they are.
  ScopedPix smaller(pixScale(french_.get(), 0.8f, 0.8f));
  PagePreparation small;
  ASSERT_TRUE(small.Analyze(smaller.get()));
  EXPECT_EQ(small.scale(), 1);
}

TEST_F(PagePreparationTest, APhotoIsCutToItsTextAScreenIsNot) {
  // The text fills a ninth of the sheet: the rest is left out. The noise
  // makes it a photograph.
  ScopedPix drawn = OnASheet(french_.get(), 3);
  ScopedPix sheet(drawn ? pixAddGaussianNoise(drawn.get(), 6) : nullptr);
  ASSERT_TRUE(sheet);
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(sheet.get()));
  ScopedPix prepared = page.Prepare(sheet.get(), 0);
  ASSERT_TRUE(prepared);
  EXPECT_LT(pixGetWidth(prepared.get()), pixGetWidth(sheet.get()) / 2);
  EXPECT_LT(pixGetHeight(prepared.get()), pixGetHeight(sheet.get()) / 2);

  // Drawn, and the size of a screen, the text fills a quarter of it, and
  // all of it is read: a screen has no surface around it.
  ScopedPix screen = OnASheet(french_.get(), 2);
  PagePreparation drawn_page;
  ASSERT_TRUE(drawn_page.Analyze(screen.get()));
  ScopedPix whole = drawn_page.Prepare(screen.get(), 0);
  ASSERT_TRUE(whole);
  EXPECT_NEAR(static_cast<float>(pixGetWidth(whole.get())),
              static_cast<float>(pixGetWidth(screen.get())) * drawn_page.scale(), 2);
  EXPECT_NEAR(static_cast<float>(pixGetHeight(whole.get())),
              static_cast<float>(pixGetHeight(screen.get())) * drawn_page.scale(), 2);
}

TEST_F(PagePreparationTest, AnImageWithoutLinesIsNeitherTurnedNorCut) {
  // White, and a gray band across the top: what a file declaring a large
  // image and holding a few bytes decodes to. Its skew is found with no
  // confidence, and it must not be rotated.
  ScopedPix blank(pixCreate(3000, 2000, 8));
  pixSetAll(blank.get());
  pixSetAllArbitrary(blank.get(), 255);
  ScopedBox band(boxCreate(0, 0, 3000, 8));
  pixSetInRectArbitrary(blank.get(), band.get(), 128);
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(blank.get()));
  EXPECT_EQ(page.level_degrees(), 0);
  EXPECT_EQ(page.GuessQuarterTurns(), -1);
  ScopedPix prepared = page.Prepare(blank.get(), 0);
  ASSERT_TRUE(prepared);
  EXPECT_EQ(pixGetWidth(prepared.get()), 3000);
  EXPECT_EQ(pixGetHeight(prepared.get()), 2000);
}

TEST_F(PagePreparationTest, OnlyAnImageWithoutReadableCharactersHoldsNoText) {
  // Print a third the fixture's size, about 12 pixels high, on a sheet so
  // large that its reduced copy shows no characters: a closer look does.
  ScopedPix small_print(pixScale(french_.get(), 0.3f, 0.3f));
  ASSERT_TRUE(small_print);
  ScopedPix sheet = OnASheet(small_print.get(), 27);
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(sheet.get()));
  EXPECT_TRUE(page.may_hold_text());
  // And Tesseract gets the print, not the sheet.
  ScopedPix prepared = page.Prepare(sheet.get(), 0);
  ASSERT_TRUE(prepared);
  EXPECT_LT(pixGetWidth(prepared.get()), 3 * pixGetWidth(small_print.get()));

  // The same sheet with a gray band for its text, as a file declaring a
  // large image and holding a few bytes decodes, holds none.
  pixSetAllArbitrary(sheet.get(), 255);
  ScopedBox band(boxCreate(0, 0, pixGetWidth(sheet.get()), 16));
  pixSetInRectArbitrary(sheet.get(), band.get(), 128);
  ASSERT_TRUE(page.Analyze(sheet.get()));
  EXPECT_FALSE(page.may_hold_text());
}

TEST_F(PagePreparationTest, StripesAreNoTextTooLargeToMeasure) {
  // Dark bars 6 pixels wide the whole height of the image: each has a
  // character's width for its height bound, none a character's shape.
  ScopedPix stripes(pixCreate(3000, 3000, 8));
  pixSetAllArbitrary(stripes.get(), 255);
  for (l_int32 x = 0; x < 3000; x += 40) {
    ScopedBox bar(boxCreate(x, 0, 6, 3000));
    pixSetInRectArbitrary(stripes.get(), bar.get(), 0);
  }
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(stripes.get()));
  EXPECT_FALSE(page.may_hold_text());
}

TEST_F(PagePreparationTest, APageTooLargeForAGrayCopyIsPreparedInOneBitAPixel) {
  for (l_int32 side : {4000, 8300}) {
    ScopedPix blank(pixCreate(side, side, 8));
    pixSetAllArbitrary(blank.get(), 255);
    PagePreparation page;
    ASSERT_TRUE(page.Analyze(blank.get()));
    ScopedPix prepared = page.Prepare(blank.get(), 0);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(pixGetWidth(prepared.get()), side);
    EXPECT_EQ(pixGetDepth(prepared.get()), side == 4000 ? 8 : 1) << side;
  }
}

TEST_F(PagePreparationTest, ADarkScreenReadAsItIsIsNegatedWholeAPanelIsNot) {
  // Light print on a dark screen reaches Tesseract as dark print on white; a
  // dark band over a fifth of a light screen stays dark.
  ScopedPix light_screen = OnASheet(french_.get(), 2);
  ScopedPix dark_screen(pixInvert(nullptr, light_screen.get()));
  ScopedBox band(
      boxCreate(0, 0, pixGetWidth(light_screen.get()), pixGetHeight(light_screen.get()) / 5));
  pixSetInRectArbitrary(light_screen.get(), band.get(), 20);
  for (PIX* screen : {dark_screen.get(), light_screen.get()}) {
    PagePreparation page;
    ASSERT_TRUE(page.Analyze(screen));
    ScopedPix as_it_is = page.Prepare(screen, 0, {}, PagePreparation::LightText::kAsItIs);
    ASSERT_TRUE(as_it_is);
    l_uint32 top_left = 0;
    pixGetPixel(as_it_is.get(), 0, 0, &top_left);
    EXPECT_EQ(top_left > 128, screen == dark_screen.get()) << top_left;
  }
}

TEST_F(PagePreparationTest, TheGroundAroundAWhiteCardIsMadeWhiteAndItsPrintKept) {
  // A card of print on a coloured table, and on a dark screen: Tesseract's
  // one threshold would fall between the grounds and take the card for ink.
  // Found at its full size, it holds no light text.
  PIX* card = french_.get();
  l_int32 width = pixGetWidth(card);
  l_int32 height = pixGetHeight(card);
  l_int32 print = 0;
  ScopedPix card_ink(pixThresholdToBinary(card, 128));
  ASSERT_TRUE(card_ink);
  pixCountPixels(card_ink.get(), &print, nullptr);
  for (l_int32 ground : {200, 60}) {
    ScopedPix screen(pixCreate(width * 3 / 2, height * 3 / 2, 8));
    ASSERT_TRUE(screen);
    pixSetAllArbitrary(screen.get(), ground);
    pixRasterop(screen.get(), width / 4, height / 4, width, height, PIX_SRC, card, 0, 0);
    PagePreparation page;
    ASSERT_TRUE(page.Analyze(screen.get()));
    ScopedPix prepared = page.Prepare(screen.get(), 0);
    ASSERT_TRUE(prepared);
    l_uint32 corner = 0;
    pixGetPixel(prepared.get(), 0, 0, &corner);
    EXPECT_EQ(corner, 255u) << ground;
    ScopedPix ink(pixThresholdToBinary(prepared.get(), 128));
    l_int32 kept = 0;
    ASSERT_TRUE(ink);
    pixCountPixels(ink.get(), &kept, nullptr);
    EXPECT_GT(kept, print / 2) << ground;
    EXPECT_LT(kept, print * 2) << ground;
  }
}

TEST_F(PagePreparationTest, AStopEndsTheAnalysisAndThePreparation) {
  PagePreparation page;
  EXPECT_FALSE(page.Analyze(french_.get(), [] { return true; }));
  ASSERT_TRUE(page.Analyze(french_.get(), [] { return false; }));
  EXPECT_FALSE(page.Prepare(french_.get(), 0, [] { return true; }));
  EXPECT_TRUE(page.Prepare(french_.get(), 0, [] { return false; }));
}

TEST_F(PagePreparationTest, APictureWithoutTextIsNotLeveledByItsEdges) {
  // A dark hill rising 25 degrees and falling again under a lighter sky:
  // its edges are lines, but no characters, and turning the picture would
  // only give Tesseract corners to read.
  ScopedPix picture(pixCreate(1200, 900, 8));
  for (l_int32 y = 0; y < 900; ++y) {
    for (l_int32 x = 0; x < 1200; ++x) {
      float ridge =
          x < 700 ? 650 - 0.466f * static_cast<float>(x) : 324 + 0.6f * static_cast<float>(x - 700);
      pixSetPixel(picture.get(), x, y,
                  static_cast<float>(y) > ridge ? 60 : 230 - static_cast<l_int32>(y / 10));
    }
  }
  PagePreparation page;
  ASSERT_TRUE(page.Analyze(picture.get()));
  EXPECT_EQ(page.level_degrees(), 0);
}

}  // namespace
}  // namespace winrt_layer
