#include "platform/winrt/recognition/row_parts.h"

#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/winrt/recognition/line_sheet.h"
#include "platform/winrt/recognition/screen_size.h"

namespace winrt_layer {
namespace {

// Words this many times as far apart as their letters rise stand in parts
// of their row: a word space is well under one.
constexpr int kMinPartGap = 2;
// A part whose letters rise less than this share of the tallest part's is
// of a smaller size. Capitals, digits and ascenders rise alike.
constexpr float kMaxSmallerRise = 0.85f;
// The parts are read with this much of the page around them.
constexpr l_int32 kPadding = 3;
// A screen's list holds fewer; more make a table or a page, whose rows
// Tesseract spaces well by their many words.
constexpr size_t kMaxLines = 24;

// A part of a line as the page's reading gives it: its words, the box
// they fill, how far its tallest letters rise above the line's baseline,
// and how many words it holds.
struct Part {
  std::string text;
  WordBox box;
  int rise = 0;
  int words = 0;
};

// The parts of the line at `line`, left to right, but `shapes`.
std::vector<Part> PartsOf(const tesseract::ResultIterator& line,
                          const std::vector<WordBox>& shapes) {
  std::vector<Part> parts;
  tesseract::ResultIterator word(line);
  do {
    Part next;
    l_int32 x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::unique_ptr<char[]> utf8(word.LTRResultIterator::GetUTF8Text(tesseract::RIL_WORD));
    if (utf8 == nullptr ||
        !word.BoundingBox(tesseract::RIL_WORD, &next.box.left, &next.box.top, &next.box.right,
                          &next.box.bottom) ||
        IsFilledShape(shapes, next.box) ||
        !word.Baseline(tesseract::RIL_WORD, &x1, &y1, &x2, &y2)) {
      continue;
    }
    next.text = utf8.get();
    next.rise = (y1 + y2) / 2 - next.box.top;
    next.words = 1;
    if (!parts.empty() && next.box.left - parts.back().box.right <
                              kMinPartGap * std::max(next.rise, parts.back().rise)) {
      Part& last = parts.back();
      last.text += " " + next.text;
      last.box.top = std::min(last.box.top, next.box.top);
      last.box.right = next.box.right;
      last.box.bottom = std::max(last.box.bottom, next.box.bottom);
      last.rise = std::max(last.rise, next.rise);
      ++last.words;
    } else {
      parts.push_back(std::move(next));
    }
  } while (!word.IsAtFinalElement(tesseract::RIL_TEXTLINE, tesseract::RIL_WORD) &&
           word.PageIterator::Next(tesseract::RIL_WORD));
  return parts;
}

// `parts` as a line's parts, those of a smaller size than the tallest and
// of more than one word to be read alone; empty when none is.
std::vector<LinePart> PartsToRead(const std::vector<Part>& parts) {
  std::vector<LinePart> line_parts;
  int tallest = 0;
  for (const Part& part : parts) {
    tallest = std::max(tallest, part.rise);
  }
  bool any_read_alone = false;
  for (const Part& part : parts) {
    LinePart line_part;
    line_part.text = part.text;
    line_part.read_alone = part.words > 1 && part.rise < kMaxSmallerRise * tallest;
    line_part.box = Rectangle(part.box.left - kPadding, part.box.top - kPadding,
                              part.box.right - part.box.left + 2 * kPadding,
                              part.box.bottom - part.box.top + 2 * kPadding);
    any_read_alone = any_read_alone || line_part.read_alone;
    line_parts.push_back(std::move(line_part));
  }
  if (!any_read_alone) {
    line_parts.clear();
  }
  return line_parts;
}

std::string WithoutSpaces(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

}  // namespace

RowParts FindRowParts(tesseract::TessBaseAPI* recognizer, const std::vector<WordBox>& shapes) {
  RowParts rows;
  PIX* page = recognizer->GetInputImage();
  if (!IsScreenPage(page)) {
    return rows;
  }
  std::unique_ptr<tesseract::ResultIterator> line(recognizer->GetIterator());
  if (line == nullptr) {
    return rows;
  }
  do {
    SplitLine split;
    split.parts = PartsToRead(PartsOf(*line, shapes));
    if (split.parts.empty()) {
      continue;
    }
    if (rows.lines.size() == kMaxLines) {
      rows.lines.clear();
      return rows;
    }
    line->BoundingBox(tesseract::RIL_TEXTLINE, &split.line.left, &split.line.top, &split.line.right,
                      &split.line.bottom);
    rows.lines.push_back(std::move(split));
  } while (line->PageIterator::Next(tesseract::RIL_TEXTLINE));
  if (!rows.lines.empty()) {
    rows.page.reset(pixClone(page));
  }
  return rows;
}

void ReadRowParts(tesseract::TessBaseAPI* recognizer,
                  const RowParts& rows,
                  uint32_t resolution,
                  tesseract::ETEXT_DESC* monitor,
                  std::vector<TextLine>* read) {
  if (rows.page == nullptr) {
    return;
  }
  std::vector<BOX> boxes;
  std::vector<const LinePart*> read_alone;
  for (const SplitLine& split : rows.lines) {
    for (const LinePart& part : split.parts) {
      if (part.read_alone) {
        boxes.push_back(part.box);
        read_alone.push_back(&part);
      }
    }
  }
  // A part read as more than one line is left as it was.
  std::vector<const TextLine*> alone(boxes.size());
  std::vector<int> lines_read(boxes.size());
  std::vector<TextLine> parts_read =
      ReadOnSheet(recognizer, rows.page.get(), boxes, 1, 0, resolution, monitor);
  for (const TextLine& part : parts_read) {
    alone[part.block] = &part;
    ++lines_read[part.block];
  }
  for (const SplitLine& split : rows.lines) {
    std::string text;
    bool respaced_any = false;
    for (const LinePart& part : split.parts) {
      text += text.empty() ? "" : " ";
      size_t i = std::find(read_alone.begin(), read_alone.end(), &part) - read_alone.begin();
      bool respaced = i < read_alone.size() && lines_read[i] == 1 &&
                      WithoutSpaces(alone[i]->text) == WithoutSpaces(part.text);
      text += respaced ? alone[i]->text : part.text;
      respaced_any = respaced_any || respaced;
    }
    auto line = std::find_if(read->begin(), read->end(), [&split](const TextLine& old) {
      return old.left == split.line.left && old.top == split.line.top &&
             old.right == split.line.right && old.bottom == split.line.bottom;
    });
    if (respaced_any && line != read->end()) {
      line->text = std::move(text);
    }
  }
}

}  // namespace winrt_layer
