#include "platform/winrt/recognition/row_values.h"

#include <algorithm>
#include <map>

namespace winrt_layer {
namespace {

// A value is a few words: a time, a size, a date, a setting's state.
constexpr size_t kMaxValueWords = 3;

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

}  // namespace

std::vector<std::string> JoinValuesToTheirRows(std::vector<TextLine> lines) {
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
  std::vector<std::string> texts;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!joined[i]) {
      texts.push_back(std::move(lines[i].text));
    }
  }
  return texts;
}

}  // namespace winrt_layer
