#include "platform/winrt/recognition/area_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>

namespace winrt_layer {
namespace {

l_uint32 Pixel(PIX* gray, l_int32 x, l_int32 y) {
  l_uint32 value = 0;
  pixGetPixel(gray, x, y, &value);
  return value;
}

double Mean(PIX* gray) {
  double sum = 0;
  for (l_int32 y = 0; y < pixGetHeight(gray); ++y) {
    for (l_int32 x = 0; x < pixGetWidth(gray); ++x) {
      sum += Pixel(gray, x, y);
    }
  }
  return sum / (static_cast<double>(pixGetWidth(gray)) * pixGetHeight(gray));
}

ScopedPix RandomGray(l_int32 width, l_int32 height) {
  ScopedPix gray(pixCreate(width, height, 8));
  std::mt19937 random(11);
  for (l_int32 y = 0; y < height; ++y) {
    for (l_int32 x = 0; x < width; ++x) {
      pixSetPixel(gray.get(), x, y, random() % 256);
    }
  }
  return gray;
}

TEST(AreaReductionTest, KeepsAnEvenGrayAndTheMeanAtAnySizeAndFactor) {
  // Odd sizes, factors that leave parts of pixels at every edge, and one
  // that leaves a single pixel: a part lost or counted twice shows at the
  // edges of an even gray, and in the mean of a random one.
  for (auto [width, height, factor] :
       {std::tuple{37, 23, 0.35f}, std::tuple{101, 7, 0.9f}, std::tuple{64, 64, 0.5f},
        std::tuple{1000, 3, 0.17f}, std::tuple{9, 13, 0.01f}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " by " +
                 std::to_string(factor));
    l_int32 reduced_width = std::max(1L, std::lround(static_cast<float>(width) * factor));
    l_int32 reduced_height = std::max(1L, std::lround(static_cast<float>(height) * factor));

    ScopedPix even(pixCreate(width, height, 8));
    pixSetAllArbitrary(even.get(), 173);
    ScopedPix reduced = ReduceByArea(even.get(), factor);
    ASSERT_TRUE(reduced);
    ASSERT_EQ(pixGetDepth(reduced.get()), 8);
    ASSERT_EQ(pixGetWidth(reduced.get()), reduced_width);
    ASSERT_EQ(pixGetHeight(reduced.get()), reduced_height);
    for (l_int32 y = 0; y < reduced_height; ++y) {
      for (l_int32 x = 0; x < reduced_width; ++x) {
        ASSERT_EQ(Pixel(reduced.get(), x, y), 173u) << "at " << x << ", " << y;
      }
    }

    ScopedPix random = RandomGray(width, height);
    reduced = ReduceByArea(random.get(), factor);
    ASSERT_TRUE(reduced);
    // Each reduced pixel is rounded once: the means differ by at most half
    // a level.
    EXPECT_NEAR(Mean(reduced.get()), Mean(random.get()), 0.5);
  }
}

TEST(AreaReductionTest, HalvingAveragesEachSquareOfFour) {
  ScopedPix random = RandomGray(16, 10);
  ScopedPix halved = ReduceByArea(random.get(), 0.5f);
  ASSERT_TRUE(halved);
  for (l_int32 y = 0; y < 5; ++y) {
    for (l_int32 x = 0; x < 8; ++x) {
      l_uint32 sum = Pixel(random.get(), 2 * x, 2 * y) + Pixel(random.get(), 2 * x + 1, 2 * y) +
                     Pixel(random.get(), 2 * x, 2 * y + 1) +
                     Pixel(random.get(), 2 * x + 1, 2 * y + 1);
      EXPECT_EQ(Pixel(halved.get(), x, y), (sum + 2) / 4) << "at " << x << ", " << y;
    }
  }
}

TEST(AreaReductionTest, AgreesWithLeptonicaOnAPageOfText) {
  // Dark strokes on a light ground, lit unevenly: what a photographed page
  // is reduced from. Leptonica places pixels in sixteenths where this
  // reduction places them in 256ths, so strokes' edges differ by a few
  // levels; its last column and row weigh the pixels at the image's edge
  // otherwise, and are left out.
  ScopedPix page(pixCreate(1203, 901, 8));
  std::mt19937 random(5);
  for (l_int32 y = 0; y < 901; ++y) {
    for (l_int32 x = 0; x < 1203; ++x) {
      bool stroke = (y / 9) % 4 == 0 && (x / 3) % 5 < 2;
      l_uint32 light = 120 + static_cast<l_uint32>(100 * x / 1203);
      pixSetPixel(page.get(), x, y, stroke ? random() % 60 : light + random() % 30);
    }
  }
  for (float factor : {0.35f, 0.17f, 0.7f}) {
    SCOPED_TRACE(factor);
    ScopedPix reduced = ReduceByArea(page.get(), factor);
    ScopedPix leptonica(pixScaleAreaMap(page.get(), factor, factor));
    ASSERT_TRUE(reduced);
    ASSERT_TRUE(leptonica);
    ASSERT_EQ(pixGetWidth(reduced.get()), pixGetWidth(leptonica.get()));
    ASSERT_EQ(pixGetHeight(reduced.get()), pixGetHeight(leptonica.get()));
    double difference = 0;
    l_uint32 largest = 0;
    l_int32 width = pixGetWidth(reduced.get()) - 1;
    l_int32 height = pixGetHeight(reduced.get()) - 1;
    for (l_int32 y = 0; y < height; ++y) {
      for (l_int32 x = 0; x < width; ++x) {
        l_uint32 a = Pixel(reduced.get(), x, y);
        l_uint32 b = Pixel(leptonica.get(), x, y);
        l_uint32 d = a > b ? a - b : b - a;
        difference += d;
        largest = std::max(largest, d);
      }
    }
    EXPECT_LT(difference / (width * height), 1.0);
    EXPECT_LE(largest, 24u);
  }
}

}  // namespace
}  // namespace winrt_layer
