#include "platform/winrt/recognition/light_text_regions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace winrt_layer {
namespace {

ScopedPix ReadGrayFixture(const char* name) {
  ScopedPix image(pixRead((std::string(WINRT_FIXTURES_DIR) + "/" + name).c_str()));
  return image ? ScopedPix(pixConvertTo8(image.get(), 0)) : nullptr;
}

// The mean difference between the pixels of `a` and `b` inside `box`.
float MeanDifference(PIX* a, PIX* b, BOX* box) {
  ScopedPix part_a(pixClipRectangle(a, box, nullptr));
  ScopedPix part_b(pixClipRectangle(b, box, nullptr));
  ScopedPix difference(pixAbsDifference(part_a.get(), part_b.get()));
  l_float32 mean = 255;
  pixGetAverageMasked(difference.get(), nullptr, 0, 0, 1, L_MEAN_ABSVAL, &mean);
  return mean;
}

// How far from white `screen` comes out inside `box` once its light-text
// regions are found and inverted, as a mean difference; 255 when either
// fails.
float InvertedDistanceFromWhite(PIX* screen, BOX* box) {
  LightTextRegions regions;
  if (!regions.Find(screen)) {
    return 255;
  }
  ScopedPix inverted = regions.Invert(screen, nullptr);
  ScopedPix white(pixCreateTemplate(screen));
  if (inverted == nullptr || white == nullptr) {
    return 255;
  }
  pixSetAll(white.get());
  return MeanDifference(inverted.get(), white.get(), box);
}

// A screen twice as wide as `page`: on its left `page`, or black when
// null, and on its right `page` as a dark-mode panel of light text on a
// dark blue-gray. Null without memory.
ScopedPix ScreenWithDarkPanel(PIX* page, bool page_on_left) {
  l_int32 width = pixGetWidth(page);
  l_int32 height = pixGetHeight(page);
  ScopedPix lifted(pixInvert(nullptr, page));
  ScopedPix screen(pixCreate(2 * width, height, 8));
  if (lifted == nullptr || screen == nullptr || pixAddConstantGray(lifted.get(), 60) != 0) {
    return nullptr;
  }
  if (page_on_left) {
    pixRasterop(screen.get(), 0, 0, width, height, PIX_SRC, page, 0, 0);
  }
  pixRasterop(screen.get(), width, 0, width, height, PIX_SRC, lifted.get(), 0, 0);
  return screen;
}

TEST(LightTextRegionsTest, PagesOfDarkPrintHaveNone) {
  // Dense print, as dense as the French page's lines, looks like a dark
  // ground with light gaps where it is taken for a ground.
  for (const char* name : {"english.png", "french.png"}) {
    ScopedPix page = ReadGrayFixture(name);
    ASSERT_TRUE(page);
    LightTextRegions regions;
    ASSERT_TRUE(regions.Find(page.get()));
    EXPECT_TRUE(regions.empty()) << name;
  }
}

TEST(LightTextRegionsTest, APanelOfLightTextIsInvertedOnItsOwn) {
  // The French page twice side by side: as it is, and as a dark-mode panel
  // of light text on a dark blue-gray.
  ScopedPix page = ReadGrayFixture("french.png");
  ASSERT_TRUE(page);
  l_int32 width = pixGetWidth(page.get());
  l_int32 height = pixGetHeight(page.get());
  ScopedPix screen = ScreenWithDarkPanel(page.get(), true);
  ASSERT_TRUE(screen);

  LightTextRegions regions;
  ASSERT_TRUE(regions.Find(screen.get()));
  ASSERT_FALSE(regions.empty());
  ScopedPix inverted = regions.Invert(screen.get(), nullptr);
  ASSERT_TRUE(inverted);
  // Both halves read as the page, but for the edges between them.
  ScopedBox left(boxCreate(0, 0, width - 8, height));
  ScopedBox right(boxCreate(width + 8, 0, width - 8, height));
  ScopedBox right_of_page(boxCreate(8, 0, width - 8, height));
  EXPECT_EQ(MeanDifference(inverted.get(), screen.get(), left.get()), 0);
  ScopedPix right_half(pixClipRectangle(inverted.get(), right.get(), nullptr));
  ScopedPix page_part(pixClipRectangle(page.get(), right_of_page.get(), nullptr));
  ScopedBox all(boxCreate(0, 0, width - 8, height));
  EXPECT_LT(MeanDifference(right_half.get(), page_part.get(), all.get()), 8);

  // Enlarged, the part of the image asked for comes out the same way.
  ScopedBox right_part(boxCreate(width, 0, width, height));
  ScopedPix panel(pixClipRectangle(screen.get(), right_part.get(), nullptr));
  ScopedPix enlarged(panel ? pixScale(panel.get(), 2, 2) : nullptr);
  ScopedPix part = regions.Invert(enlarged.get(), right_part.get());
  ScopedPix page_enlarged(pixScale(page.get(), 2, 2));
  ASSERT_TRUE(part && page_enlarged);
  ScopedBox inner(boxCreate(16, 16, 2 * width - 32, 2 * height - 32));
  EXPECT_LT(MeanDifference(part.get(), page_enlarged.get(), inner.get()), 8);
}

TEST(LightTextRegionsTest, ASpeckOfAnotherGroundWithinAPanelIsThePanels) {
  // A black area beside the dark panel of light text puts the split
  // between grounds below the panel's, and a speck of the panel darker
  // than that, as a JPEG's blocks leave one, on the other side of it.
  ScopedPix page = ReadGrayFixture("french.png");
  ASSERT_TRUE(page);
  l_int32 width = pixGetWidth(page.get());
  ScopedPix screen = ScreenWithDarkPanel(page.get(), false);
  ASSERT_TRUE(screen);
  ScopedBox speck(boxCreate(width + 16, 16, 18, 18));
  ASSERT_EQ(pixSetInRectArbitrary(screen.get(), speck.get(), 20), 0);

  EXPECT_LT(InvertedDistanceFromWhite(screen.get(), speck.get()), 8);
}

TEST(LightTextRegionsTest, DarkTextJustBelowABubbleIsLeftAsItIs) {
  // A bubble of light text on a white screen, and a few pixels below its
  // edge a little dark text, as a chat's timestamp: its strokes taken out,
  // it joins the bubble's ground, with the white it is written on.
  ScopedPix page = ReadGrayFixture("french.png");
  ASSERT_TRUE(page);
  ScopedPix panel = ScreenWithDarkPanel(page.get(), false);
  ScopedPix screen(pixCreate(900, 400, 8));
  ASSERT_TRUE(panel && screen);
  pixSetAll(screen.get());
  ScopedBox bubble(boxCreate(100, 100, 500, 80));
  ASSERT_EQ(pixSetInRectArbitrary(screen.get(), bubble.get(), 60), 0);
  pixRasterop(screen.get(), 120, 120, 400, 40, PIX_SRC, panel.get(), pixGetWidth(page.get()) + 62,
              67);
  ScopedBox line(boxCreate(62, 67, 400, 40));
  ScopedPix text(pixClipRectangle(page.get(), line.get(), nullptr));
  ScopedPix small_text(text ? pixScale(text.get(), 0.3f, 0.3f) : nullptr);
  ASSERT_TRUE(small_text);
  l_int32 stamp_width = pixGetWidth(small_text.get());
  l_int32 stamp_height = pixGetHeight(small_text.get());
  pixRasterop(screen.get(), 460, 188, stamp_width, stamp_height, PIX_SRC, small_text.get(), 0, 0);

  LightTextRegions regions;
  ASSERT_TRUE(regions.Find(screen.get()));
  ScopedPix inverted = regions.Invert(screen.get(), nullptr);
  ASSERT_TRUE(inverted);
  ScopedBox stamp(boxCreate(460, 188, stamp_width, stamp_height));
  EXPECT_LT(MeanDifference(inverted.get(), screen.get(), stamp.get()), 8);
  ScopedBox bubble_text(boxCreate(120, 120, 400, 40));
  EXPECT_GT(MeanDifference(inverted.get(), screen.get(), bubble_text.get()), 100);
}

TEST(LightTextRegionsTest, TheEdgeOfADiscOnADarkScreenIsNoOutline) {
  // A line of light text on a dark screen, and an avatar: a lighter disc,
  // its edge blended into the screen, with white initials. Each is a region
  // of its own; inverted, the blended edge between them would come out as
  // a ring of dots around the initials, and Tesseract's layout would leave
  // them out with it.
  ScopedPix page = ReadGrayFixture("french.png");
  ASSERT_TRUE(page);
  ScopedPix panel = ScreenWithDarkPanel(page.get(), false);
  ScopedPix screen(pixCreate(900, 400, 8));
  ASSERT_TRUE(panel && screen);
  pixSetAllArbitrary(screen.get(), 30);
  pixRasterop(screen.get(), 300, 40, 400, 40, PIX_SRC, panel.get(), pixGetWidth(page.get()) + 62,
              67);
  constexpr l_int32 kCentreX = 150, kCentreY = 200, kRadius = 40;
  for (l_int32 y = kCentreY - kRadius - 2; y <= kCentreY + kRadius + 2; ++y) {
    for (l_int32 x = kCentreX - kRadius - 2; x <= kCentreX + kRadius + 2; ++x) {
      double cover = std::clamp(kRadius + 0.5 - std::hypot(x - kCentreX, y - kCentreY), 0.0, 1.0);
      pixSetPixel(screen.get(), x, y, static_cast<l_uint32>(30 + cover * 120));
    }
  }
  for (l_int32 y = 0; y < 24; ++y) {
    for (l_int32 x = 0; x < 50; ++x) {
      l_uint32 ink = 255;
      pixGetPixel(page.get(), 62 + x, 72 + y, &ink);
      if (ink < 128) {
        pixSetPixel(screen.get(), kCentreX - 25 + x, kCentreY - 12 + y, 250);
      }
    }
  }

  LightTextRegions regions;
  ASSERT_TRUE(regions.Find(screen.get()));
  ScopedPix inverted = regions.Invert(screen.get(), nullptr);
  ASSERT_TRUE(inverted);
  int dark = 0;
  for (l_int32 y = kCentreY - kRadius - 3; y <= kCentreY + kRadius + 3; ++y) {
    for (l_int32 x = kCentreX - kRadius - 3; x <= kCentreX + kRadius + 3; ++x) {
      double distance = std::hypot(x - kCentreX, y - kCentreY);
      l_uint32 value = 0;
      pixGetPixel(inverted.get(), x, y, &value);
      dark += std::abs(distance - kRadius) < 1.5 && value < 224;
    }
  }
  EXPECT_EQ(dark, 0);
  // The initials are inverted with their disc.
  ScopedBox initials(boxCreate(kCentreX - 25, kCentreY - 12, 50, 24));
  EXPECT_GT(MeanDifference(inverted.get(), screen.get(), initials.get()), 100);
}

TEST(LightTextRegionsTest, GroundsAFewLevelsApartAreOne) {
  // A dark page of light text above a stretch of its ground without text
  // two levels darker, as a JPEG leaves a dark page's ground between its
  // paragraphs: inverted, the stretch is as white as the page's ground.
  ScopedPix page = ReadGrayFixture("french.png");
  ASSERT_TRUE(page);
  l_int32 width = pixGetWidth(page.get());
  l_int32 height = pixGetHeight(page.get());
  ScopedPix panel = ScreenWithDarkPanel(page.get(), false);
  ScopedPix screen(pixCreate(width, height + 120, 8));
  ASSERT_TRUE(panel && screen);
  pixSetAllArbitrary(screen.get(), 58);
  pixRasterop(screen.get(), 0, 0, width, height, PIX_SRC, panel.get(), width, 0);

  ScopedBox stretch(boxCreate(8, height + 8, width - 16, 104));
  EXPECT_LT(InvertedDistanceFromWhite(screen.get(), stretch.get()), 8);
}

TEST(LightTextRegionsTest, SparseLightTextOnADarkScreenCountsAKnobsRimDoesNot) {
  // Two lines of light text, a seventieth of a dark screen, are inverted
  // with its ground.
  ScopedPix page = ReadGrayFixture("french.png");
  ASSERT_TRUE(page);
  ScopedPix panel = ScreenWithDarkPanel(page.get(), false);
  ScopedPix screen(pixCreate(1200, 900, 8));
  ASSERT_TRUE(panel && screen);
  pixSetAllArbitrary(screen.get(), 60);
  pixRasterop(screen.get(), 40, 40, 400, 40, PIX_SRC, panel.get(), pixGetWidth(page.get()) + 62,
              67);
  ScopedBox ground(boxCreate(400, 400, 400, 400));
  EXPECT_LT(InvertedDistanceFromWhite(screen.get(), ground.get()), 8);

  // A few light pixels on a switch, as the rim of its knob, are no text.
  pixSetAllArbitrary(screen.get(), 60);
  ScopedBox knob(boxCreate(600, 450, 40, 40));
  ASSERT_EQ(pixSetInRectArbitrary(screen.get(), knob.get(), 140), 0);
  for (l_int32 x = 610; x < 620; ++x) {
    pixSetPixel(screen.get(), x, 470, 230);
  }
  LightTextRegions regions;
  ASSERT_TRUE(regions.Find(screen.get()));
  EXPECT_TRUE(regions.empty());
}

}  // namespace
}  // namespace winrt_layer
