#include "platform/winrt/recognition/sauvola_threshold.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace winrt_layer {
namespace {

// The standard deviation Sauvola's rule divides by: the largest an 8-bit
// image can have.
constexpr double kDynamicRange = 128;

}  // namespace

ScopedPix SauvolaThreshold(PIX* gray, int half_window, float k) {
  l_int32 width = pixGetWidth(gray);
  l_int32 height = pixGetHeight(gray);
  ScopedPix binary(pixCreate(width, height, 1));
  if (binary == nullptr) {
    return nullptr;
  }
  pixCopyResolution(binary.get(), gray);
  const l_uint32* gray_data = pixGetData(gray);
  size_t gray_words = static_cast<size_t>(pixGetWpl(gray));
  size_t row_bytes = gray_words * sizeof(l_uint32);
  l_uint32* binary_data = pixGetData(binary.get());
  size_t binary_words = static_cast<size_t>(pixGetWpl(binary.get()));
  // The sums of each column's values and of their squares over the rows of
  // the current window, in the order of the bytes in memory, so that a row
  // is added in a plain loop; and their running sums along the current row,
  // in pixel order, so that a window's sums are two differences. Those are
  // taken modulo 2^32, which holds a window's sums.
  std::vector<uint32_t> column_sum;
  std::vector<uint32_t> column_squares;
  std::vector<uint32_t> running_sum;
  std::vector<uint32_t> running_squares;
  try {
    column_sum.assign(row_bytes, 0);
    column_squares.assign(row_bytes, 0);
    running_sum.assign(static_cast<size_t>(width) + 1, 0);
    running_squares.assign(static_cast<size_t>(width) + 1, 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  auto row_bytes_at = [&](l_int32 y) {
    return reinterpret_cast<const uint8_t*>(gray_data + static_cast<size_t>(y) * gray_words);
  };
  for (l_int32 y = 0; y < std::min(half_window, height); ++y) {
    const uint8_t* added = row_bytes_at(y);
    for (size_t i = 0; i < row_bytes; ++i) {
      column_sum[i] += added[i];
      column_squares[i] += static_cast<uint32_t>(added[i]) * added[i];
    }
  }
  for (l_int32 y = 0; y < height; ++y) {
    if (y + half_window < height) {
      const uint8_t* added = row_bytes_at(y + half_window);
      for (size_t i = 0; i < row_bytes; ++i) {
        column_sum[i] += added[i];
        column_squares[i] += static_cast<uint32_t>(added[i]) * added[i];
      }
    }
    if (y - half_window - 1 >= 0) {
      const uint8_t* taken = row_bytes_at(y - half_window - 1);
      for (size_t i = 0; i < row_bytes; ++i) {
        column_sum[i] -= taken[i];
        column_squares[i] -= static_cast<uint32_t>(taken[i]) * taken[i];
      }
    }
    for (l_int32 x = 0; x < width; ++x) {
      size_t byte = static_cast<size_t>(x ^ 3);
      running_sum[x + 1] = running_sum[x] + column_sum[byte];
      running_squares[x + 1] = running_squares[x] + column_squares[byte];
    }
    int64_t rows = std::min(height - 1, y + half_window) - std::max(0, y - half_window) + 1;
    const l_uint32* gray_line = gray_data + static_cast<size_t>(y) * gray_words;
    l_uint32* binary_line = binary_data + static_cast<size_t>(y) * binary_words;
    for (l_int32 x = 0; x < width; ++x) {
      l_int32 left = std::max(0, x - half_window);
      l_int32 right = std::min(width, x + half_window + 1);
      int64_t count = rows * (right - left);
      double sum = running_sum[right] - running_sum[left];
      double squares = running_squares[right] - running_squares[left];
      // With n = count, S = sum and Q = squares, the pixel v is black when
      // v < (1 - k) S / n + (k S / n) sqrt(n Q - S^2) / (n kDynamicRange):
      // times n, and squared, it needs neither a division nor a root.
      double above_base = static_cast<double>(count * GET_DATA_BYTE(gray_line, x)) - (1 - k) * sum;
      double spread_weight = k * sum / kDynamicRange;
      double variance = static_cast<double>(count) * squares - sum * sum;
      if (above_base < 0 || above_base * above_base * static_cast<double>(count * count) <
                                spread_weight * spread_weight * variance) {
        SET_DATA_BIT(binary_line, x);
      }
    }
  }
  return binary;
}

}  // namespace winrt_layer
