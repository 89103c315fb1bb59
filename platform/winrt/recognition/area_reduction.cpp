#include "platform/winrt/recognition/area_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace winrt_layer {
namespace {

// Positions along a side are counted in 1/kUnit of a reduced pixel.
constexpr uint32_t kUnit = 256;

// Where pixel `pixel` of a side of `size` pixels begins on the side reduced
// to `reduced_size`, in 1/kUnit of a reduced pixel. The parts of the
// pixels a reduced pixel covers add up to kUnit.
uint32_t Boundary(l_int32 pixel, l_int32 size, l_int32 reduced_size) {
  return static_cast<uint32_t>(
      (static_cast<uint64_t>(pixel) * static_cast<uint64_t>(reduced_size) * kUnit +
       static_cast<uint64_t>(size) / 2) /
      static_cast<uint64_t>(size));
}

// What one pixel of a side covers of the reduced side: part `first_part`
// of reduced pixel `first` and the rest, `next_part`, of the next one
// (reduced pixels are larger than pixels).
struct Coverage {
  uint32_t first = 0;
  uint32_t first_part = 0;
  uint32_t next_part = 0;
};

Coverage Cover(l_int32 pixel, l_int32 size, l_int32 reduced_size) {
  uint32_t start = Boundary(pixel, size, reduced_size);
  uint32_t end = Boundary(pixel + 1, size, reduced_size);
  uint32_t first = start / kUnit;
  uint32_t first_end = (first + 1) * kUnit;
  return {first, std::min(end, first_end) - start, end > first_end ? end - first_end : 0};
}

// The same seen from the reduced side: reduced pixel d covers parts
// parts[d * count + i] of pixels first_pixel[d] + i, for i below count.
struct Taps {
  size_t count = 0;
  std::vector<l_int32> first_pixel;
  std::vector<uint32_t> parts;
};

Taps TapSide(l_int32 size, l_int32 reduced_size) {
  Taps taps;
  taps.first_pixel.assign(static_cast<size_t>(reduced_size), size);
  std::vector<l_int32> last_pixel(static_cast<size_t>(reduced_size), 0);
  for (l_int32 pixel = 0; pixel < size; ++pixel) {
    Coverage coverage = Cover(pixel, size, reduced_size);
    for (uint32_t reduced = coverage.first;
         reduced <= coverage.first + (coverage.next_part > 0 ? 1 : 0); ++reduced) {
      taps.first_pixel[reduced] = std::min(taps.first_pixel[reduced], pixel);
      last_pixel[reduced] = pixel;
    }
  }
  for (l_int32 reduced = 0; reduced < reduced_size; ++reduced) {
    taps.count = std::max(taps.count,
                          static_cast<size_t>(last_pixel[reduced] - taps.first_pixel[reduced] + 1));
  }
  // Every reduced pixel takes `count` pixels, the last ones beginning
  // earlier with parts of 0, so that none reaches beyond the side.
  for (l_int32& first : taps.first_pixel) {
    first = std::min(first, size - static_cast<l_int32>(taps.count));
  }
  taps.parts.assign(static_cast<size_t>(reduced_size) * taps.count, 0);
  for (l_int32 pixel = 0; pixel < size; ++pixel) {
    Coverage coverage = Cover(pixel, size, reduced_size);
    taps.parts[coverage.first * taps.count + (pixel - taps.first_pixel[coverage.first])] =
        coverage.first_part;
    if (coverage.next_part > 0) {
      uint32_t next = coverage.first + 1;
      taps.parts[next * taps.count + (pixel - taps.first_pixel[next])] = coverage.next_part;
    }
  }
  return taps;
}

l_int32 ReducedSize(l_int32 size, float factor) {
  return std::clamp(static_cast<l_int32>(std::lround(static_cast<float>(size) * factor)), 1, size);
}

}  // namespace

ScopedPix ReduceByArea(PIX* gray, float factor) {
  l_int32 width = pixGetWidth(gray);
  l_int32 height = pixGetHeight(gray);
  l_int32 reduced_width = ReducedSize(width, factor);
  l_int32 reduced_height = ReducedSize(height, factor);
  ScopedPix reduced(pixCreate(reduced_width, reduced_height, 8));
  if (reduced == nullptr) {
    return nullptr;
  }
  pixCopyResolution(reduced.get(), gray);
  pixScaleResolution(reduced.get(), factor, factor);
  const l_uint32* gray_data = pixGetData(gray);
  size_t gray_words = static_cast<size_t>(pixGetWpl(gray));
  l_uint32* reduced_data = pixGetData(reduced.get());
  size_t reduced_words = static_cast<size_t>(pixGetWpl(reduced.get()));
  size_t row_bytes = gray_words * sizeof(l_uint32);
  // Rows are summed first, each column of the reduced row being made and of
  // the next, in the order of the bytes in memory: a plain loop over a
  // row's bytes. A column's sum is at most 255 * kUnit, which 16 bits hold.
  // Across, a reduced pixel is then made of a few of these sums, found by
  // the pixel's place in its word.
  Taps columns;
  std::vector<uint16_t> sums;
  std::vector<uint16_t> next_sums;
  try {
    columns = TapSide(width, reduced_width);
    sums.resize(row_bytes);
    next_sums.resize(row_bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  auto write_row = [&](uint32_t y) {
    l_uint32* line = reduced_data + y * reduced_words;
    for (l_int32 x = 0; x < reduced_width; ++x) {
      const uint32_t* parts = &columns.parts[static_cast<size_t>(x) * columns.count];
      l_int32 first = columns.first_pixel[static_cast<size_t>(x)];
      uint32_t sum = 0;
      for (size_t i = 0; i < columns.count; ++i) {
        sum +=
            static_cast<uint32_t>(sums[static_cast<size_t>(first + static_cast<l_int32>(i)) ^ 3]) *
            parts[i];
      }
      SET_DATA_BYTE(line, x, (sum + kUnit * kUnit / 2) / (kUnit * kUnit));
    }
  };
  uint32_t current_row = 0;
  for (l_int32 y = 0; y < height; ++y) {
    Coverage row = Cover(y, height, reduced_height);
    if (row.first != current_row) {
      write_row(current_row);
      sums.swap(next_sums);
      std::fill(next_sums.begin(), next_sums.end(), 0);
      current_row = row.first;
    }
    const uint8_t* bytes =
        reinterpret_cast<const uint8_t*>(gray_data + static_cast<size_t>(y) * gray_words);
    for (size_t i = 0; i < row_bytes; ++i) {
      sums[i] = static_cast<uint16_t>(sums[i] + bytes[i] * row.first_part);
    }
    if (row.next_part > 0) {
      for (size_t i = 0; i < row_bytes; ++i) {
        next_sums[i] = static_cast<uint16_t>(next_sums[i] + bytes[i] * row.next_part);
      }
    }
  }
  write_row(current_row);
  return reduced;
}

}  // namespace winrt_layer
