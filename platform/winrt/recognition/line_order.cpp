#include "platform/winrt/recognition/line_order.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace winrt_layer {
namespace {

// A value is a few words: a time, a size, a date, a setting's state.
constexpr size_t kMaxValueWords = 3;
// A value stands at the start of a line it is at most this many of its
// heights to the left of: an avatar's initials beside a name.
constexpr int kMaxLeadGapHeights = 4;
// Lines of one block further apart than this many line heights are parts
// of the page apart: a chat's last message and its text field, which the
// layout takes for one column at the left.
constexpr int kBlockGapHeights = 4;
// Two lines on a row closer than this share of their height are one word
// the layout cut in two ("Notific" "ations"): a space is far wider.
constexpr int kWordCutHeights = 6;
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

// `left` and `right`, lines on one row, as one line's text: with a space
// between them, unless they touch.
std::string JoinOnRow(const TextLine& left, const TextLine& right) {
  int height = std::min(left.bottom - left.top, right.bottom - right.top);
  bool touch = (right.left - left.right) * kWordCutHeights < height;
  return left.text + (touch ? "" : " ") + right.text;
}

// Whether `value` stands on the row of `line`, to its right: its middle lies
// within the line's height, and it starts where the line has ended.
bool StandsBeside(const TextLine& value, const TextLine& line) {
  int middle = (value.top + value.bottom) / 2;
  return value.block != line.block && middle >= line.top && middle <= line.bottom &&
         value.left >= line.right;
}

// How far the middle of `value` lies from `line`'s height when it stands at
// the start of that line, of another block: to its left, within a few of
// its own heights across and one down or up. Initials on an avatar stand
// between a name and the line below it. -1 when it does not.
int DistanceToStart(const TextLine& value, const TextLine& line) {
  int height = value.bottom - value.top;
  if (value.block == line.block || line.left < value.right ||
      line.left - value.right > kMaxLeadGapHeights * height) {
    return -1;
  }
  int middle = (value.top + value.bottom) / 2;
  int distance = middle < line.top ? line.top - middle : std::max(0, middle - line.bottom);
  return distance <= height ? distance : -1;
}

// Reads the values that stand at the start of rows, each row a block of its
// own, at the start of their rows: a list's avatars' initials, which the
// layout reads as a column before the list. A block's values are joined
// only when each has a row, and none when any stands on a row after a line;
// values that would start rows of one block (a side menu beside an article,
// line numbers beside code) keep their place, as do values that are rows
// of others. Marks them in `joined`.
void JoinLeadingValues(std::vector<TextLine>* read,
                       const std::map<int, bool>& holds_values,
                       std::vector<bool>* joined) {
  std::vector<TextLine>& lines = *read;
  std::map<int, std::vector<std::pair<size_t, size_t>>> starts;
  std::map<int, bool> refused;
  for (size_t value = 0; value < lines.size(); ++value) {
    int block = lines[value].block;
    if (!holds_values.at(block) || refused[block]) {
      continue;
    }
    size_t row = lines.size();
    int nearest = 0;
    for (size_t i = 0; i < lines.size() && !refused[block]; ++i) {
      refused[block] = i != value && StandsBeside(lines[value], lines[i]);
      int distance = DistanceToStart(lines[value], lines[i]);
      if (distance >= 0 && (row == lines.size() || distance < nearest ||
                            (distance == nearest && lines[i].top < lines[row].top))) {
        row = i;
        nearest = distance;
      }
    }
    refused[block] = refused[block] || row == lines.size();
    starts[block].emplace_back(value, row);
  }
  std::map<int, int> starts_per_row_block;
  for (const auto& [block, pairs] : starts) {
    for (const auto& [value, row] : pairs) {
      starts_per_row_block[refused[block] ? -1 : lines[row].block] += 1;
    }
  }
  // A row that is itself a value joined to a row keeps its place.
  auto starts_its_row = [&](const std::pair<size_t, size_t>& start) {
    int row_block = lines[start.second].block;
    return starts_per_row_block[row_block] == 1 &&
           (starts.find(row_block) == starts.end() || refused[row_block]);
  };
  for (const auto& [block, pairs] : starts) {
    if (refused[block] || !std::all_of(pairs.begin(), pairs.end(), starts_its_row)) {
      continue;
    }
    for (const auto& [value, row] : pairs) {
      lines[row].text = JoinOnRow(lines[value], lines[row]);
      lines[row].left = lines[value].left;
      (*joined)[value] = true;
    }
  }
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

// Gives each run of a block's lines that stands apart from the rest of it
// a block of its own.
void SplitBlocksAtGaps(std::vector<TextLine>* lines) {
  int next_block = NextBlock(*lines);
  // The last line seen of each block, and the block its run went to.
  std::map<int, std::pair<const TextLine*, int>> last;
  for (TextLine& line : *lines) {
    auto [seen, first] = last.emplace(line.block, std::make_pair(&line, line.block));
    if (!first) {
      const TextLine& above = *seen->second.first;
      int height = std::max(above.bottom - above.top, line.bottom - line.top);
      if (line.top - above.bottom > kBlockGapHeights * height) {
        seen->second.second = next_block++;
      }
      seen->second.first = &line;
    }
    line.block = seen->second.second;
  }
}

}  // namespace

int NextBlock(const std::vector<TextLine>& lines) {
  int next_block = 0;
  for (const TextLine& line : lines) {
    next_block = std::max(next_block, line.block + 1);
  }
  return next_block;
}

bool Overlap(const TextLine& a, const TextLine& b) {
  return a.top < b.bottom && b.top < a.bottom && a.left < b.right && b.left < a.right;
}

void OrderLines(std::vector<TextLine>* read) {
  if (read->size() > kMaxLinesToOrder) {
    return;
  }
  std::vector<TextLine>& lines = *read;
  SplitBlocksAtGaps(&lines);
  // A block of values only: one value, or a column of them (a receipt's
  // prices).
  std::map<int, bool> holds_values;
  for (const TextLine& line : lines) {
    auto [values_only, added] = holds_values.emplace(line.block, true);
    values_only->second = values_only->second && CountWords(line.text) <= kMaxValueWords;
  }
  std::vector<bool> joined(lines.size(), false);
  JoinLeadingValues(&lines, holds_values, &joined);
  // Values are joined from the left, so that two on one row keep their order.
  std::vector<size_t> values;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (holds_values[lines[i].block] && !joined[i]) {
      values.push_back(i);
    }
  }
  std::sort(values.begin(), values.end(),
            [&lines](size_t a, size_t b) { return lines[a].left < lines[b].left; });
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
    lines[row].text = JoinOnRow(lines[row], lines[value]);
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
