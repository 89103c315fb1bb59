#include "platform/winrt/recognition/square_filter.h"

#include <gtest/gtest.h>

#include <random>

namespace winrt_layer {
namespace {

ScopedPix RandomGray(l_int32 width, l_int32 height, unsigned seed) {
  ScopedPix gray(pixCreate(width, height, 8));
  std::mt19937 random(seed);
  for (l_int32 y = 0; y < height; ++y) {
    for (l_int32 x = 0; x < width; ++x) {
      pixSetPixel(gray.get(), x, y, random() % 256);
    }
  }
  return gray;
}

bool Same(PIX* a, PIX* b) {
  l_int32 same = 0;
  return a != nullptr && b != nullptr && pixEqual(a, b, &same) == 0 && same == 1;
}

// Each filter makes Leptonica's pixels, at the image's edges too: sides
// shorter than the square, and rows whose bytes do not fill their words.
TEST(SquareFilterTest, MatchesLeptonica) {
  struct Size {
    l_int32 width;
    l_int32 height;
  };
  for (Size size : {Size{1, 1}, Size{7, 3}, Size{13, 40}, Size{97, 61}, Size{250, 9}}) {
    ScopedPix gray = RandomGray(size.width, size.height, size.width * 31 + size.height);
    for (l_int32 square : {1, 3, 15, 21}) {
      SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " by " << square);
      ScopedPix eroded(pixErodeGray(gray.get(), square, square));
      ScopedPix dilated(pixDilateGray(gray.get(), square, square));
      ScopedPix opened(pixOpenGray(gray.get(), square, square));
      ScopedPix closed(pixCloseGray(gray.get(), square, square));
      EXPECT_TRUE(Same(ErodeSquare(gray.get(), square).get(), eroded.get()));
      EXPECT_TRUE(Same(DilateSquare(gray.get(), square).get(), dilated.get()));
      EXPECT_TRUE(Same(OpenSquare(gray.get(), square).get(), opened.get()));
      EXPECT_TRUE(Same(CloseSquare(gray.get(), square).get(), closed.get()));
    }
  }
}

}  // namespace
}  // namespace winrt_layer
