#include "platform/winrt/recognition/line_cut.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace winrt_layer {
namespace {

// Ink on the ground PagePreparation evens out to 200.
constexpr l_int32 kInkThreshold = 128;
// A space inside a line this many line heights wide parts columns; the
// spaces between words are well under one.
constexpr float kMinColumnGapHeights = 2;
// Rows of ink less than this share of a line height high are accents,
// dots, underlines or specks, which belong to the nearer line.
constexpr float kMinLineHeightShare = 0.5f;

// A run of rows with ink.
struct Band {
  l_int32 top = 0;
  l_int32 bottom = 0;  // One past the last row.
  // The ink's left and right ends, and the widest space between them.
  l_int32 left = 0;
  l_int32 right = 0;
  l_int32 widest_space = 0;
};

// Finds the ink's ends and widest inner space across `words`, one bit a
// column, most significant first, as Leptonica packs them.
void MeasureColumns(const std::vector<l_uint32>& words, l_int32 width, Band* band) {
  l_int32 last_ink = -1;
  for (l_int32 x = 0; x < width; ++x) {
    if ((words[x / 32] >> (31 - x % 32) & 1) == 0) {
      continue;
    }
    if (last_ink < 0) {
      band->left = x;
    } else {
      band->widest_space = std::max(band->widest_space, x - last_ink - 1);
    }
    last_ink = x;
  }
  band->right = last_ink + 1;
}

// The bands of rows with ink in `ink`, top to bottom.
std::vector<Band> FindBands(PIX* ink) {
  l_int32 width = pixGetWidth(ink);
  l_int32 height = pixGetHeight(ink);
  l_int32 words_per_line = pixGetWpl(ink);
  const l_uint32* data = pixGetData(ink);
  std::vector<Band> bands;
  std::vector<l_uint32> columns(static_cast<size_t>(words_per_line));
  bool in_band = false;
  for (l_int32 y = 0; y <= height; ++y) {
    const l_uint32* line = y < height ? data + static_cast<ptrdiff_t>(y) * words_per_line : nullptr;
    bool has_ink = line != nullptr && std::any_of(line, line + words_per_line,
                                                  [](l_uint32 word) { return word != 0; });
    if (has_ink && !in_band) {
      bands.push_back(Band{y});
      std::fill(columns.begin(), columns.end(), 0);
    }
    if (has_ink) {
      std::transform(columns.begin(), columns.end(), line, columns.begin(),
                     [](l_uint32 a, l_uint32 b) { return a | b; });
    } else if (in_band) {
      bands.back().bottom = y;
      MeasureColumns(columns, width, &bands.back());
    }
    in_band = has_ink;
  }
  return bands;
}

// Widens `line` to take in `mark`.
void Join(Band* line, const Band& mark) {
  line->top = std::min(line->top, mark.top);
  line->bottom = std::max(line->bottom, mark.bottom);
  line->left = std::min(line->left, mark.left);
  line->right = std::max(line->right, mark.right);
  line->widest_space = std::max(line->widest_space, mark.widest_space);
}

// `bands` with those less than kMinLineHeightShare of `line_height` high
// joined to the nearer of their neighbors: an accent or a dot to the line
// below it, an underline to the line above.
std::vector<Band> JoinMarksToLines(const std::vector<Band>& bands, float line_height) {
  constexpr l_int32 kNone = std::numeric_limits<l_int32>::max();
  std::vector<Band> lines;
  // A mark nearer the line below it than the line above.
  bool has_mark_above = false;
  Band mark_above;
  for (size_t i = 0; i < bands.size(); ++i) {
    Band band = bands[i];
    if (has_mark_above) {
      Join(&band, mark_above);
      has_mark_above = false;
    }
    if (static_cast<float>(band.bottom - band.top) < kMinLineHeightShare * line_height) {
      l_int32 space_above = lines.empty() ? kNone : band.top - lines.back().bottom;
      l_int32 space_below = i + 1 < bands.size() ? bands[i + 1].top - band.bottom : kNone;
      if (space_above < space_below) {
        Join(&lines.back(), band);
        continue;
      }
      if (space_below != kNone) {
        mark_above = band;
        has_mark_above = true;
        continue;
      }
    }
    lines.push_back(band);
  }
  return lines;
}

}  // namespace

l_int32 FindLineCut(PIX* page, float start_cost) {
  ScopedPix ink(pixGetDepth(page) == 1 ? pixCopy(nullptr, page)
                                       : pixThresholdToBinary(page, kInkThreshold));
  if (ink == nullptr) {
    return 0;
  }
  pixSetPadBits(ink.get(), 0);
  std::vector<Band> bands = FindBands(ink.get());
  if (bands.size() < 2) {
    return 0;
  }
  std::vector<l_int32> heights;
  for (const Band& band : bands) {
    heights.push_back(band.bottom - band.top);
  }
  std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
  float line_height = static_cast<float>(heights[heights.size() / 2]);
  bands = JoinMarksToLines(bands, line_height);
  // The work of each line, and of the lines below each gap.
  std::vector<float> below(bands.size() + 1, 0);
  for (size_t i = bands.size(); i-- > 0;) {
    const Band& band = bands[i];
    if (static_cast<float>(band.widest_space) > kMinColumnGapHeights * line_height) {
      return 0;
    }
    below[i] = below[i + 1] + static_cast<float>(band.right - band.left) / line_height;
  }
  // The first recognizer reads the lines above the cut, the second, which
  // starts later, those below: both end together when the second has
  // half of what is left once the first has read for start_cost.
  float target = (below[0] - start_cost) / 2;
  l_int32 cut = 0;
  float best_distance = target;
  for (size_t i = 1; i < bands.size(); ++i) {
    float distance = std::fabs(below[i] - target);
    if (distance < best_distance) {
      best_distance = distance;
      cut = (bands[i - 1].bottom + bands[i].top) / 2;
    }
  }
  return cut;
}

}  // namespace winrt_layer
