#include "platform/winrt/recognition/sauvola_threshold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace winrt_layer {
namespace {

constexpr float kFactor = 0.34f;

// The rule computed plainly, window by window.
bool BlackByDefinition(PIX* gray, l_int32 x, l_int32 y, int half_window, float k) {
  uint64_t sum = 0;
  uint64_t squares = 0;
  l_int32 count = 0;
  for (l_int32 j = std::max(0, y - half_window);
       j <= std::min(pixGetHeight(gray) - 1, y + half_window); ++j) {
    for (l_int32 i = std::max(0, x - half_window);
         i <= std::min(pixGetWidth(gray) - 1, x + half_window); ++i) {
      l_uint32 value = 0;
      pixGetPixel(gray, i, j, &value);
      sum += value;
      squares += static_cast<uint64_t>(value) * value;
      ++count;
    }
  }
  double mean = static_cast<double>(sum) / count;
  double variance = std::max(0.0, static_cast<double>(squares) / count - mean * mean);
  l_uint32 value = 0;
  pixGetPixel(gray, x, y, &value);
  return value < mean * (1 - k * (1 - std::sqrt(variance) / 128));
}

ScopedPix RandomGray(l_int32 width, l_int32 height) {
  ScopedPix gray(pixCreate(width, height, 8));
  std::mt19937 random(7);
  for (l_int32 y = 0; y < height; ++y) {
    for (l_int32 x = 0; x < width; ++x) {
      // Dark specks on light paper, as text is.
      pixSetPixel(gray.get(), x, y, random() % 5 == 0 ? random() % 80 : 150 + random() % 100);
    }
  }
  return gray;
}

TEST(SauvolaThresholdTest, EveryPixelFollowsTheRuleUpToTheEdges) {
  // Sizes below, at and above the window, so that windows are cut on one,
  // two or all sides.
  for (auto [width, height, half_window] :
       {std::tuple{37, 23, 4}, std::tuple{5, 3, 4}, std::tuple{9, 9, 4}, std::tuple{64, 1, 2}}) {
    ScopedPix gray = RandomGray(width, height);
    ScopedPix binary = SauvolaThreshold(gray.get(), half_window, kFactor);
    ASSERT_TRUE(binary);
    ASSERT_EQ(pixGetDepth(binary.get()), 1);
    ASSERT_EQ(pixGetWidth(binary.get()), width);
    ASSERT_EQ(pixGetHeight(binary.get()), height);
    int differences = 0;
    for (l_int32 y = 0; y < height; ++y) {
      for (l_int32 x = 0; x < width; ++x) {
        l_uint32 bit = 0;
        pixGetPixel(binary.get(), x, y, &bit);
        differences += (bit == 1) != BlackByDefinition(gray.get(), x, y, half_window, kFactor);
      }
    }
    EXPECT_EQ(differences, 0) << width << " x " << height << ", half window " << half_window;
  }
}

TEST(SauvolaThresholdTest, AgreesWithLeptonicaOnAPhoto) {
  // Leptonica mirrors the image at its edges where the windows here are
  // cut: inside, the two must agree.
  constexpr int kHalfWindow = 12;
  ScopedPix photo(pixRead((std::string(WINRT_FIXTURES_DIR) + "/english_sideways.jpg").c_str()));
  ASSERT_TRUE(photo);
  ScopedPix gray(pixConvertTo8(photo.get(), 0));
  ScopedPix ours = SauvolaThreshold(gray.get(), kHalfWindow, kFactor);
  PIX* leptonica = nullptr;
  ASSERT_EQ(pixSauvolaBinarize(gray.get(), kHalfWindow, kFactor, 1, nullptr, nullptr, nullptr,
                               &leptonica),
            0);
  ScopedPix theirs(leptonica);
  ScopedBox inside(boxCreate(kHalfWindow + 1, kHalfWindow + 1,
                             pixGetWidth(gray.get()) - 2 * (kHalfWindow + 1),
                             pixGetHeight(gray.get()) - 2 * (kHalfWindow + 1)));
  ScopedPix ours_inside(pixClipRectangle(ours.get(), inside.get(), nullptr));
  ScopedPix theirs_inside(pixClipRectangle(theirs.get(), inside.get(), nullptr));
  l_int32 black = 0;
  l_int32 differing = 0;
  ScopedPix difference(pixXor(nullptr, ours_inside.get(), theirs_inside.get()));
  pixCountPixels(theirs_inside.get(), &black, nullptr);
  pixCountPixels(difference.get(), &differing, nullptr);
  // The text is there, and at most one of its pixels in two hundred differs
  // (Leptonica rounds its means and deviations to integers).
  EXPECT_GT(black, 5000);
  EXPECT_LE(differing * 200, black) << differing << " of " << black;
}

}  // namespace
}  // namespace winrt_layer
