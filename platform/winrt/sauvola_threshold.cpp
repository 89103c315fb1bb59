#include "platform/winrt/sauvola_threshold.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace winrt_layer {
namespace {

// The standard deviation Sauvola's rule divides by: the largest an 8-bit
// image can have.
constexpr float kDynamicRange = 128;

}  // namespace

ScopedPix SauvolaThreshold(PIX* grey, int half_window, float k) {
  l_int32 width = pixGetWidth(grey);
  l_int32 height = pixGetHeight(grey);
  ScopedPix binary(pixCreate(width, height, 1));
  if (binary == nullptr) {
    return nullptr;
  }
  pixCopyResolution(binary.get(), grey);
  // The sums of each column's values and of their squares over the rows
  // of the current window.
  std::vector<uint64_t> column_sum;
  std::vector<uint64_t> column_squares;
  try {
    column_sum.assign(static_cast<size_t>(width), 0);
    column_squares.assign(static_cast<size_t>(width), 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  const l_uint32* grey_data = pixGetData(grey);
  l_int32 grey_words = pixGetWpl(grey);
  l_uint32* binary_data = pixGetData(binary.get());
  l_int32 binary_words = pixGetWpl(binary.get());
  // Adds row `y` to the column sums, or takes it away.
  auto update_row = [&](l_int32 y, bool add) {
    const l_uint32* line = grey_data + static_cast<ptrdiff_t>(y) * grey_words;
    for (l_int32 x = 0; x < width; ++x) {
      uint64_t value = GET_DATA_BYTE(line, x);
      if (add) {
        column_sum[x] += value;
        column_squares[x] += value * value;
      } else {
        column_sum[x] -= value;
        column_squares[x] -= value * value;
      }
    }
  };
  for (l_int32 y = 0; y < std::min(half_window, height); ++y) {
    update_row(y, true);
  }
  for (l_int32 y = 0; y < height; ++y) {
    if (y + half_window < height) {
      update_row(y + half_window, true);
    }
    if (y - half_window - 1 >= 0) {
      update_row(y - half_window - 1, false);
    }
    l_int32 rows = std::min(height - 1, y + half_window) - std::max(0, y - half_window) + 1;
    const l_uint32* grey_line = grey_data + static_cast<ptrdiff_t>(y) * grey_words;
    l_uint32* binary_line = binary_data + static_cast<ptrdiff_t>(y) * binary_words;
    uint64_t sum = 0;
    uint64_t squares = 0;
    for (l_int32 x = 0; x < std::min(half_window, width); ++x) {
      sum += column_sum[x];
      squares += column_squares[x];
    }
    for (l_int32 x = 0; x < width; ++x) {
      if (x + half_window < width) {
        sum += column_sum[x + half_window];
        squares += column_squares[x + half_window];
      }
      if (x - half_window - 1 >= 0) {
        sum -= column_sum[x - half_window - 1];
        squares -= column_squares[x - half_window - 1];
      }
      l_int32 columns = std::min(width - 1, x + half_window) - std::max(0, x - half_window) + 1;
      double count = static_cast<double>(rows) * columns;
      double mean = static_cast<double>(sum) / count;
      double variance = std::max(0.0, static_cast<double>(squares) / count - mean * mean);
      double threshold = mean * (1 - k * (1 - std::sqrt(variance) / kDynamicRange));
      if (GET_DATA_BYTE(grey_line, x) < threshold) {
        SET_DATA_BIT(binary_line, x);
      }
    }
  }
  return binary;
}

}  // namespace winrt_layer
