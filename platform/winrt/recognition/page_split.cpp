#include "platform/winrt/recognition/page_split.h"

#include <winerror.h>

#include <atomic>
#include <future>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/winrt/recognition/line_cut.h"

namespace winrt_layer {
namespace {

// Loading a language takes as long as Tesseract reading lines this many
// line heights long, all told: the second recognizer may have to load its
// language before it starts.
constexpr float kLanguageLoadInLineHeights = 55;

// A part of a page gets this many rows of its ground on the side it was cut
// at: cut halfway between two lines of small print, a line sits a few rows
// from the part's edge, where Tesseract garbles it.
constexpr l_int32 kCutMargin = 16;

// The rows of `image` from `top` to `bottom`, with kCutMargin white rows
// added at either that is not the image's edge; null without memory.
ScopedPix ClipRows(PIX* image, l_int32 top, l_int32 bottom) {
  ScopedBox rows(boxCreate(0, top, pixGetWidth(image), bottom - top));
  ScopedPix part(rows ? pixClipRectangle(image, rows.get(), nullptr) : nullptr);
  l_int32 above = top > 0 ? kCutMargin : 0;
  l_int32 below = bottom < pixGetHeight(image) ? kCutMargin : 0;
  return ScopedPix(part ? pixAddBlackOrWhiteBorder(part.get(), 0, 0, above, below, L_GET_WHITE_VAL)
                        : nullptr);
}

// The parts of pages two recognizers read, each taking the next one not
// yet taken. Each part is a copy of its own: Leptonica counts the
// references of a clone without a lock.
struct SharedParts {
  std::vector<ScopedPix> parts;
  std::vector<AsideRecognition> outcomes;
  std::atomic<size_t> next{0};
};

// Reads parts of `shared` with `recognizer` until none is left.
void ReadParts(tesseract::TessBaseAPI* recognizer,
               SharedParts* shared,
               uint32_t resolution,
               const RecognitionStop& stop) {
  for (size_t i = shared->next++; i < shared->parts.size(); i = shared->next++) {
    shared->outcomes[i].error = RecognizeWithTesseract(
        recognizer, std::move(shared->parts[i]), resolution, stop, &shared->outcomes[i].recognized);
  }
}

// Joins `below`, the lines of a page below its cut, to `page`, those above.
void JoinPartBelow(AsideRecognition below, AsideRecognition* page) {
  if (FAILED(page->error.code)) {
    return;
  }
  if (FAILED(below.error.code)) {
    page->error = std::move(below.error);
    return;
  }
  // The confidence of all words, as Tesseract would give it for the page:
  // each part weighs as the text it read.
  RecognizedText& above = page->recognized;
  size_t above_length = above.text.size();
  size_t below_length = below.recognized.text.size();
  if (above_length + below_length > 0) {
    above.confidence = static_cast<int>(
        (above.confidence * above_length + below.recognized.confidence * below_length) /
        (above_length + below_length));
  }
  if (!above.text.empty() && !below.recognized.text.empty()) {
    above.text += '\n';
  }
  above.text += below.recognized.text;
}

}  // namespace

std::future<RecognizerPool::Lease> AcquireAside(RecognizerPool& recognizers) {
  auto acquire = [&recognizers] { return recognizers.Acquire(); };
  try {
    return std::async(std::launch::async, acquire);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, acquire);
  }
}

std::future<AsideRecognition> RecognizeAside(std::future<RecognizerPool::Lease> recognizer,
                                             ScopedPix image,
                                             uint32_t resolution,
                                             const RecognitionStop& stop) {
  auto recognize = [recognizer = std::move(recognizer), image = std::move(image), resolution,
                    stop]() mutable {
    AsideRecognition outcome;
    RecognizerPool::Lease lease = recognizer.get();
    // The caller's recognizer is of the same data: this one lacked memory.
    outcome.error = lease ? RecognizeWithTesseract(lease.get(), std::move(image), resolution, stop,
                                                   &outcome.recognized)
                          : RuntimeError{E_OUTOFMEMORY, {}};
    return outcome;
  };
  try {
    return std::async(std::launch::async, std::move(recognize));
  } catch (const std::system_error&) {
    return {};
  }
}

bool CutsAtLine(PIX* prepared) {
  return FindLineCut(prepared, kLanguageLoadInLineHeights) > 0;
}

std::vector<AsideRecognition> RecognizePagesSplit(
    std::future<RecognizerPool::Lease> second_recognizer,
    tesseract::TessBaseAPI* recognizer,
    std::vector<ScopedPix> pages,
    uint32_t resolution,
    const RecognitionStop& stop) {
  // The first page's upper part is read while the second recognizer
  // loads, and its lower part when it is loaded; the parts of the pages
  // after it are halves, which the two read at once.
  auto shared = std::make_shared<SharedParts>();
  std::vector<l_int32> cuts(pages.size(), 0);
  for (size_t i = 0; i < pages.size(); ++i) {
    float start_cost = i == 0 ? kLanguageLoadInLineHeights : 0;
    cuts[i] = pages[i] != nullptr ? FindLineCut(pages[i].get(), start_cost) : 0;
    if (cuts[i] == 0) {
      continue;
    }
    ScopedPix above = ClipRows(pages[i].get(), 0, cuts[i]);
    ScopedPix below = ClipRows(pages[i].get(), cuts[i], pixGetHeight(pages[i].get()));
    // Without memory for its parts, a page is out of memory whole.
    if (above == nullptr || below == nullptr) {
      pages[i].reset();
      cuts[i] = 0;
      continue;
    }
    shared->parts.push_back(std::move(above));
    shared->parts.push_back(std::move(below));
  }
  std::vector<AsideRecognition> outcomes(pages.size());
  std::future<void> aside;
  if (!shared->parts.empty()) {
    shared->outcomes.resize(shared->parts.size());
    auto read_aside = [second_recognizer = std::move(second_recognizer), shared, resolution,
                       stop]() mutable {
      RecognizerPool::Lease lease = second_recognizer.get();
      if (lease) {
        ReadParts(lease.get(), shared.get(), resolution, stop);
      }
    };
    try {
      aside = std::async(std::launch::async, std::move(read_aside));
    } catch (const std::system_error&) {
      // Without a second thread, the pages are read whole.
      shared->parts.clear();
      cuts.assign(pages.size(), 0);
    }
  }
  for (size_t i = 0; i < pages.size(); ++i) {
    if (cuts[i] == 0) {
      outcomes[i].error = RecognizeWithTesseract(recognizer, std::move(pages[i]), resolution, stop,
                                                 &outcomes[i].recognized);
    }
  }
  pages.clear();
  ReadParts(recognizer, shared.get(), resolution, stop);
  if (aside.valid()) {
    aside.get();
  }
  auto part = shared->outcomes.begin();
  for (size_t i = 0; i < outcomes.size(); ++i) {
    if (cuts[i] > 0) {
      outcomes[i] = std::move(*part++);
      JoinPartBelow(std::move(*part++), &outcomes[i]);
    }
  }
  return outcomes;
}

RuntimeError RecognizePageSplit(RecognizerPool& recognizers,
                                tesseract::TessBaseAPI* recognizer,
                                ScopedPix prepared,
                                uint32_t resolution,
                                const RecognitionStop& stop,
                                RecognizedText* recognized) {
  std::vector<ScopedPix> pages;
  pages.push_back(std::move(prepared));
  auto acquire = [&recognizers] { return recognizers.Acquire(); };
  std::vector<AsideRecognition> outcomes = RecognizePagesSplit(
      std::async(std::launch::deferred, acquire), recognizer, std::move(pages), resolution, stop);
  *recognized = std::move(outcomes.front().recognized);
  return std::move(outcomes.front().error);
}

}  // namespace winrt_layer
