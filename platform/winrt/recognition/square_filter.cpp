#include "platform/winrt/recognition/square_filter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace winrt_layer {
namespace {

// The least of two values for an erosion, the greatest for a dilation.
template <bool kDilate>
uint8_t Pick(uint8_t a, uint8_t b) {
  return kDilate ? std::max(a, b) : std::min(a, b);
}

// What stands for a pixel outside the image: it never wins the pick.
template <bool kDilate>
constexpr uint8_t kOutside = kDilate ? 0 : 255;

// van Herk and Gil-Werman's running pick: result[i] picks input[i] to
// input[i + size - 1]. The input is cut in runs of `size`, each picked
// forward from its start and backward from its end; a window across two
// runs is the backward pick of the first's rest and the forward pick of
// the second's start. Each element here is a line of `width` bytes, picked
// byte by byte: a whole row, for the columns to be filtered a row at a
// time. `forward` and `backward` hold `count` lines, a multiple of `size`;
// `input(i)` is line i.
template <bool kDilate, typename Input>
void PickRuns(l_int32 count,
              size_t width,
              l_int32 size,
              Input input,
              uint8_t* forward,
              uint8_t* backward) {
  auto pick_into = [width](uint8_t* out, const uint8_t* a, const uint8_t* b) {
    for (size_t x = 0; x < width; ++x) {
      out[x] = Pick<kDilate>(a[x], b[x]);
    }
  };
  for (l_int32 start = 0; start < count; start += size) {
    l_int32 end = start + size;
    std::memcpy(forward + start * width, input(start), width);
    for (l_int32 i = start + 1; i < end; ++i) {
      pick_into(forward + i * width, forward + (i - 1) * width, input(i));
    }
    std::memcpy(backward + (end - 1) * width, input(end - 1), width);
    for (l_int32 i = end - 2; i >= start; --i) {
      pick_into(backward + i * width, backward + (i + 1) * width, input(i));
    }
  }
}

// The number of lines PickRuns works over to filter `count` by `size`:
// half a square outside at each end, rounded up to whole runs.
l_int32 RunLines(l_int32 count, l_int32 size) {
  return (count + 2 * (size / 2) + size - 1) / size * size;
}

template <bool kDilate>
ScopedPix FilterSquare(PIX* gray, l_int32 size) {
  const l_int32 width = pixGetWidth(gray);
  const l_int32 height = pixGetHeight(gray);
  const l_int32 half = size / 2;
  const l_int32 wpl = pixGetWpl(gray);
  ScopedPix across(pixCreateTemplate(gray));
  ScopedPix filtered(pixCreateTemplate(gray));
  if (across == nullptr || filtered == nullptr) {
    return nullptr;
  }
  try {
    // Along each row: its pixels in their order, half a square outside
    // at each end.
    l_int32 columns = RunLines(width, size);
    std::vector<uint8_t> row(static_cast<size_t>(columns), kOutside<kDilate>);
    std::vector<uint8_t> forward(row.size());
    std::vector<uint8_t> backward(row.size());
    for (l_int32 y = 0; y < height; ++y) {
      const l_uint32* source = pixGetData(gray) + y * wpl;
      for (l_int32 x = 0; x < width; ++x) {
        row[half + x] = static_cast<uint8_t>(GET_DATA_BYTE(source, x));
      }
      PickRuns<kDilate>(
          columns, 1, size, [&row](l_int32 i) { return &row[i]; }, forward.data(), backward.data());
      l_uint32* target = pixGetData(across.get()) + y * wpl;
      for (l_int32 x = 0; x < width; ++x) {
        SET_DATA_BYTE(target, x, Pick<kDilate>(backward[x], forward[x + size - 1]));
      }
    }
    // Down the columns, a row at a time: the bytes of a row's words in any
    // order, as each column is picked apart from the others.
    const size_t row_bytes = sizeof(l_uint32) * static_cast<size_t>(wpl);
    const auto* rows = reinterpret_cast<const uint8_t*>(pixGetData(across.get()));
    const std::vector<uint8_t> outside(row_bytes, kOutside<kDilate>);
    auto input = [&](l_int32 i) {
      l_int32 y = i - half;
      return y < 0 || y >= height ? outside.data() : rows + static_cast<size_t>(y) * row_bytes;
    };
    l_int32 lines = RunLines(height, size);
    forward.resize(static_cast<size_t>(lines) * row_bytes);
    backward.resize(forward.size());
    PickRuns<kDilate>(lines, row_bytes, size, input, forward.data(), backward.data());
    auto* out = reinterpret_cast<uint8_t*>(pixGetData(filtered.get()));
    for (l_int32 y = 0; y < height; ++y) {
      const uint8_t* rest = backward.data() + static_cast<size_t>(y) * row_bytes;
      const uint8_t* next = forward.data() + static_cast<size_t>(y + size - 1) * row_bytes;
      uint8_t* target = out + static_cast<size_t>(y) * row_bytes;
      for (size_t x = 0; x < row_bytes; ++x) {
        target[x] = Pick<kDilate>(rest[x], next[x]);
      }
    }
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return filtered;
}

}  // namespace

ScopedPix ErodeSquare(PIX* gray, l_int32 size) {
  return FilterSquare<false>(gray, size);
}

ScopedPix DilateSquare(PIX* gray, l_int32 size) {
  return FilterSquare<true>(gray, size);
}

ScopedPix OpenSquare(PIX* gray, l_int32 size) {
  ScopedPix eroded = ErodeSquare(gray, size);
  return eroded ? DilateSquare(eroded.get(), size) : nullptr;
}

ScopedPix CloseSquare(PIX* gray, l_int32 size) {
  ScopedPix dilated = DilateSquare(gray, size);
  return dilated ? ErodeSquare(dilated.get(), size) : nullptr;
}

}  // namespace winrt_layer
