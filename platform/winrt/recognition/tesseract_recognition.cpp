#include "platform/winrt/recognition/tesseract_recognition.h"

#include <dlfcn.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>
#include <winerror.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/recognition/filled_shapes.h"
#include "platform/winrt/recognition/line_order.h"
#include "platform/winrt/recognition/picture_blocks.h"
#include "platform/winrt/recognition/row_parts.h"
#include "platform/winrt/recognition/screen_size.h"
#include "platform/winrt/recognition/small_text.h"
#include "platform/winrt/recognition/unread_rows.h"
#include "platform/winrt/runtime/thread_pool.h"

namespace winrt_layer {
namespace {

constexpr char kParagraphsFromTextVariable[] = "paragraph_text_based";
constexpr wchar_t kRecognitionFailedMessage[] = L"The text recognition failed.";
constexpr wchar_t kTooMuchDetailMessageStart[] =
    L"The bitmap has too much fine detail to recognise: ";
constexpr wchar_t kTooMuchDetailMessageMiddle[] =
    L" outline pixels, where OcrEngine takes at most ";
constexpr wchar_t kTooMuchDetailMessageEnd[] = L".";

// Tesseract's cancel callback: the operation was canceled, or the process
// is exiting and waits for the recognition to end.
bool IsCanceled(void* canceled, int) noexcept {
  return static_cast<const std::atomic<bool>*>(canceled)->load() ||
         ThreadPool::Shared().IsStopping();
}

// Whether every word Tesseract read runs left to right, as in Latin
// scripts, or has no direction, as digits: then the words' order on the
// page is their reading order.
bool ReadsLeftToRight(tesseract::TessBaseAPI* recognizer) {
  std::unique_ptr<tesseract::ResultIterator> word(recognizer->GetIterator());
  if (word == nullptr) {
    return true;
  }
  do {
    tesseract::StrongScriptDirection direction = word->WordDirection();
    if (direction == tesseract::DIR_RIGHT_TO_LEFT || direction == tesseract::DIR_MIX) {
      return false;
    }
  } while (word->PageIterator::Next(tesseract::RIL_WORD));
  return true;
}

// The text of `element` (a line or a word) at `at`, in reading order.
std::unique_ptr<char[]> TextAt(const tesseract::ResultIterator& at,
                               bool in_page_order,
                               tesseract::PageIteratorLevel element) {
  return std::unique_ptr<char[]>(in_page_order ? at.LTRResultIterator::GetUTF8Text(element)
                                               : at.GetUTF8Text(element));
}

// The words of the line at `line` but `shapes`, joined by spaces as
// Tesseract joins them.
std::string TextWithoutShapes(const tesseract::ResultIterator& line,
                              bool in_page_order,
                              const std::vector<WordBox>& shapes) {
  tesseract::ResultIterator word(line);
  std::string text;
  do {
    WordBox box;
    word.BoundingBox(tesseract::RIL_WORD, &box.left, &box.top, &box.right, &box.bottom);
    std::unique_ptr<char[]> utf8 = TextAt(word, in_page_order, tesseract::RIL_WORD);
    if (utf8 != nullptr && !IsFilledShape(shapes, box)) {
      text += text.empty() ? "" : " ";
      text += utf8.get();
    }
  } while (!word.IsAtFinalElement(tesseract::RIL_TEXTLINE, tesseract::RIL_WORD) &&
           (in_page_order ? word.PageIterator::Next(tesseract::RIL_WORD)
                          : word.Next(tesseract::RIL_WORD)));
  return text;
}

// Whether `shapes` holds a word of `line`: one whose middle is in its box.
// A switch cut into two words can give them boxes taller than the line's.
bool HoldsShape(const std::vector<WordBox>& shapes, const TextLine& line) {
  return std::any_of(shapes.begin(), shapes.end(), [&line](const WordBox& shape) {
    return HoldsMiddleOf(WordBox{line.left, line.top, line.right, line.bottom}, shape);
  });
}

// The lines Tesseract read, in its order, without `shapes`, the filled
// shapes it took for words; lines of white space only are left out.
// `in_page_order` says whether the page's order of the words is their
// reading order. False when `stop` asked for the end first.
bool CollectLines(tesseract::TessBaseAPI* recognizer,
                  bool in_page_order,
                  const std::vector<WordBox>& shapes,
                  const RecognitionStop& stop,
                  std::vector<TextLine>* lines) {
  std::unique_ptr<tesseract::ResultIterator> line(recognizer->GetIterator());
  if (line == nullptr) {
    return true;
  }
  int block = -1;
  do {
    if (stop.Requested()) {
      return false;
    }
    block += line->IsAtBeginningOf(tesseract::RIL_BLOCK);
    std::unique_ptr<char[]> utf8 = TextAt(*line, in_page_order, tesseract::RIL_TEXTLINE);
    if (utf8 == nullptr) {
      continue;
    }
    TextLine read{utf8.get(), block};
    line->BoundingBox(tesseract::RIL_TEXTLINE, &read.left, &read.top, &read.right, &read.bottom);
    if (HoldsShape(shapes, read)) {
      read.text = TextWithoutShapes(*line, in_page_order, shapes);
    }
    if (read.text.find_last_not_of(" \t\r\n") == std::string::npos) {
      continue;
    }
    read.text.erase(read.text.find_last_not_of("\r\n") + 1);
    read.confidence = line->Confidence(tesseract::RIL_TEXTLINE);
    lines->push_back(std::move(read));
  } while (in_page_order ? line->PageIterator::Next(tesseract::RIL_TEXTLINE)
                         : line->Next(tesseract::RIL_TEXTLINE));
  return true;
}

// `lines` without their line breaks, joined by "\n".
std::string JoinLines(const std::vector<TextLine>& lines) {
  std::string text;
  for (const TextLine& read : lines) {
    if (!text.empty()) {
      text += '\n';
    }
    text += read.text;
  }
  return text;
}

// The outline pixels of Tesseract's thresholded image; -1 without memory.
l_int32 CountOutlinePixels(tesseract::TessBaseAPI* recognizer) {
  ScopedPix thresholded(recognizer->GetThresholdedImage());
  if (thresholded == nullptr) {
    return -1;
  }
  ScopedPix outlines(pixExtractBoundary(thresholded.get(), 1));
  l_int32 count = -1;
  if (outlines == nullptr || pixCountPixels(outlines.get(), &count, nullptr) != 0) {
    return -1;
  }
  return count;
}

}  // namespace

bool RecognitionStop::Requested() const {
  return IsCanceled(const_cast<std::atomic<bool>*>(&canceled), 0) ||
         std::chrono::steady_clock::now() >= deadline;
}

RuntimeError RecognitionStop::Failure() const {
  if (std::chrono::steady_clock::now() >= deadline) {
    return {HRESULT_FROM_WIN32(ERROR_TIMEOUT), kOutOfTimeMessage};
  }
  return {HRESULT_FROM_WIN32(ERROR_CANCELLED), {}};
}

// Tesseract's parallel regions name their thread count, which only the
// maximum of active levels overrides: at 0 every region runs on the thread
// that meets it. The OpenMP runtime comes with Tesseract: it is looked up
// rather than linked.
void UseOneTesseractThread() {
  typedef void (*SetMaxActiveLevels)(int);
  static const auto set_max_active_levels =
      reinterpret_cast<SetMaxActiveLevels>(dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
  if (set_max_active_levels != nullptr) {
    set_max_active_levels(0);
  }
}

RuntimeError RecognizeWithTesseract(tesseract::TessBaseAPI* recognizer,
                                    ScopedPix image,
                                    uint32_t resolution,
                                    const RecognitionStop& stop,
                                    RecognizedText* recognized) {
  if (image == nullptr) {
    return {E_OUTOFMEMORY, {}};
  }
  UseOneTesseractThread();
  tesseract::ETEXT_DESC monitor;
  monitor.cancel = IsCanceled;
  monitor.cancel_this = const_cast<std::atomic<bool>*>(&stop.canceled);
  monitor.end_time = stop.deadline;
  // The command-line tool's layout analysis: a photograph holds more than
  // one block of text, and the surface around the page.
  recognizer->SetPageSegMode(tesseract::PSM_AUTO);
  // Paragraphs are found from the page's layout, before the words are
  // read: found again from the text, after them, they cost a dense page
  // about as long as its reading, outside what the monitor watches, and
  // the lines come out the same.
  recognizer->SetVariable(kParagraphsFromTextVariable, "0");
  recognizer->SetImage(image.get());
  image.reset();
  recognizer->SetSourceResolution(static_cast<int>(resolution));
  // Thresholding is Tesseract's first step, and what follows costs memory
  // in proportion to the outlines: they are counted before it.
  l_int32 outline_pixels = CountOutlinePixels(recognizer);
  if (outline_pixels < 0) {
    recognizer->Clear();
    return {E_OUTOFMEMORY, {}};
  }
  if (outline_pixels > kMaxOutlinePixels) {
    recognizer->Clear();
    return {HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_QUOTA),
            kTooMuchDetailMessageStart + std::to_wstring(outline_pixels) +
                kTooMuchDetailMessageMiddle + std::to_wstring(kMaxOutlinePixels) +
                kTooMuchDetailMessageEnd};
  }
  if (recognizer->Recognize(&monitor) != 0) {
    recognizer->Clear();
    if (monitor.deadline_exceeded()) {
      return stop.Failure();
    }
    return {E_FAIL, kRecognitionFailedMessage};
  }
  // The iterator's own order puts right-to-left words in reading order,
  // but finds it from the start of the page for every word: on a page of
  // thousands of words that costs as long as reading them.
  bool in_page_order = ReadsLeftToRight(recognizer);
  std::vector<WordBox> shapes = FindFilledShapes(recognizer);
  std::vector<TextLine> lines;
  if (!CollectLines(recognizer, in_page_order, shapes, stop, &lines)) {
    recognizer->Clear();
    return stop.Failure();
  }
  // On a page where Tesseract found no text, asking the confidence runs
  // the whole layout analysis again: Recognize leaves such a page marked
  // as not recognized.
  recognized->confidence = lines.empty() ? 0 : recognizer->MeanTextConf();
  // What the reading left out or read poorly is found on the page first,
  // then read again, each time on a page of its own.
  PictureBlocks pictures = FindPictureBlocks(recognizer);
  RowParts rows = in_page_order ? FindRowParts(recognizer, shapes) : RowParts();
  ScopedPix thresholded(
      IsScreenPage(recognizer->GetInputImage()) ? recognizer->GetThresholdedImage() : nullptr);
  UnreadRows unread = FindUnreadRows(recognizer->GetInputImage(), thresholded.get(), lines);
  ReadSmallText(recognizer, thresholded.get(), resolution, &monitor, &lines);
  thresholded.reset();
  ReadRowParts(recognizer, rows, resolution, &monitor, &lines);
  ReadPictureBlocks(recognizer, pictures, resolution, &monitor, &lines);
  ReadUnreadRows(recognizer, unread, resolution, &monitor, &lines);
  if (stop.Requested()) {
    recognizer->Clear();
    return stop.Failure();
  }
  // A right-to-left row's values stand at its left: its lines keep their
  // order.
  if (in_page_order) {
    OrderLines(&lines);
  }
  recognized->text = JoinLines(lines);
  recognizer->Clear();
  return {};
}

}  // namespace winrt_layer
