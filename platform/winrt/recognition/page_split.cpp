#include "platform/winrt/recognition/page_split.h"

#include <winerror.h>

#include <future>
#include <system_error>
#include <utility>

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

RuntimeError RecognizePageSplit(RecognizerPool& recognizers,
                                tesseract::TessBaseAPI* recognizer,
                                ScopedPix prepared,
                                uint32_t resolution,
                                const RecognitionStop& stop,
                                RecognizedText* recognized) {
  if (prepared == nullptr) {
    return {E_OUTOFMEMORY, {}};
  }
  std::future<AsideRecognition> below;
  l_int32 cut = FindLineCut(prepared.get(), kLanguageLoadInLineHeights);
  if (cut > 0) {
    ScopedPix lines_below = ClipRows(prepared.get(), cut, pixGetHeight(prepared.get()));
    if (lines_below == nullptr) {
      return {E_OUTOFMEMORY, {}};
    }
    below = RecognizeAside(AcquireAside(recognizers), std::move(lines_below), resolution, stop);
    if (below.valid()) {
      prepared = ClipRows(prepared.get(), 0, cut);
    }
  }
  RuntimeError error =
      RecognizeWithTesseract(recognizer, std::move(prepared), resolution, stop, recognized);
  if (!below.valid()) {
    return error;
  }
  AsideRecognition part = below.get();
  if (FAILED(error.code)) {
    return error;
  }
  if (FAILED(part.error.code)) {
    return std::move(part.error);
  }
  // The confidence of all words, as Tesseract would give it for the page:
  // each part weighs as the text it read.
  size_t above_length = recognized->text.size();
  size_t below_length = part.recognized.text.size();
  if (above_length + below_length > 0) {
    recognized->confidence = static_cast<int>(
        (recognized->confidence * above_length + part.recognized.confidence * below_length) /
        (above_length + below_length));
  }
  if (!recognized->text.empty() && !part.recognized.text.empty()) {
    recognized->text += '\n';
  }
  recognized->text += part.recognized.text;
  return {};
}

}  // namespace winrt_layer
