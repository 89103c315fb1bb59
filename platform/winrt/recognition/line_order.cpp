#include "platform/winrt/recognition/line_order.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace winrt_layer {
namespace {

// A value is a few words: a time, a size, a date, a setting's state.
constexpr size_t kMaxValueWords = 3;
// Ordering compares lines with lines: its cost grows with the square of
// their number. A screen or a page holds far fewer; beyond, as on an image
// of scattered fragments, the layout's order stands.
constexpr size_t kMaxLinesToOrder = 1000;

size_t CountWords(const std::string& text) {
  size_t words = 0;
  bool in_word = false;
  for (char c : text) {
    bool space = c == ' ' || c == '\t';
    words += !space && !in_word;
    in_word = !space;
  }
  return words;
}

// Whether `value` stands on the row of `line`, to its right: its middle lies
// within the line's height, and it starts where the line has ended.
bool StandsBeside(const TextLine& value, const TextLine& line) {
  int middle = (value.top + value.bottom) / 2;
  return value.block != line.block && middle >= line.top && middle <= line.bottom &&
         value.left >= line.right;
}

// Whether the blocks of `lines` stand one below another: no two of them
// share a stretch of the page's height.
bool StandOneBelowAnother(const std::vector<TextLine>& lines) {
  std::map<int, std::pair<int, int>> spans;
  for (const TextLine& line : lines) {
    auto [span, added] = spans.emplace(line.block, std::make_pair(line.top, line.bottom));
    span->second.first = std::min(span->second.first, line.top);
    span->second.second = std::max(span->second.second, line.bottom);
  }
  for (auto a = spans.begin(); a != spans.end(); ++a) {
    for (auto b = std::next(a); b != spans.end(); ++b) {
      if (std::min(a->second.second, b->second.second) >
          std::max(a->second.first, b->second.first)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

void OrderLines(std::vector<TextLine>* read) {
  if (read->size() > kMaxLinesToOrder) {
    return;
  }
  std::vector<TextLine>& lines = *read;
  std::map<int, size_t> lines_per_block;
  for (const TextLine& line : lines) {
    ++lines_per_block[line.block];
  }
  // Values are joined from the left, so that two on one row keep their order.
  std::vector<size_t> values;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines_per_block[lines[i].block] == 1 && CountWords(lines[i].text) <= kMaxValueWords) {
      values.push_back(i);
    }
  }
  std::sort(values.begin(), values.end(),
            [&lines](size_t a, size_t b) { return lines[a].left < lines[b].left; });
  std::vector<bool> joined(lines.size(), false);
  for (size_t value : values) {
    // The nearest line to its left on its row, that is no value joined.
    size_t row = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!joined[i] && i != value && StandsBeside(lines[value], lines[i]) &&
          (row == lines.size() || lines[i].right > lines[row].right)) {
        row = i;
      }
    }
    if (row == lines.size()) {
      continue;
    }
    lines[row].text += ' ';
    lines[row].text += lines[value].text;
    lines[row].right = lines[value].right;
    joined[value] = true;
  }
  std::vector<TextLine> rows;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!joined[i]) {
      rows.push_back(std::move(lines[i]));
    }
  }
  lines = std::move(rows);
  if (StandOneBelowAnother(lines)) {
    std::map<int, int> block_tops;
    for (const TextLine& row : lines) {
      auto [top, added] = block_tops.emplace(row.block, row.top);
      top->second = std::min(top->second, row.top);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [&block_tops](const TextLine& a, const TextLine& b) {
                       return block_tops[a.block] < block_tops[b.block];
                     });
  }
}

}  // namespace winrt_layer
