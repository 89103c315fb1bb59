#include "platform/winrt/recognition/upright_recognition.h"

#include <winerror.h>

#include <algorithm>
#include <future>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/winrt/recognition/page_preparation.h"
#include "platform/winrt/recognition/page_split.h"
#include "platform/winrt/recognition/picture_text.h"
#include "platform/winrt/recognition/screen_size.h"
#include "platform/winrt/recognition/tesseract_recognition.h"

namespace winrt_layer {
namespace {

constexpr wchar_t kNoLanguageDataMessage[] = L"The OCR language data could not be loaded.";

// The resolution Tesseract assumes when the file declares none it can use.
// Cameras declare 72 dpi whatever they photograph: a resolution under 100
// says nothing of the text's size.
constexpr uint32_t kDefaultResolution = 300;
constexpr uint32_t kMinDeclaredResolution = 100;
constexpr uint32_t kMaxResolution = 2400;
// A drawn image read at its size is read at a screen's resolution: its 10
// pixel print at 300 dpi is 2.4 points to Tesseract, which takes most of a
// page of it for noise.
constexpr uint32_t kScreenResolution = 96;

// Tesseract's data for page orientation (package tesseract-ocr-osd).
constexpr char kOrientationData[] = "osd";
// A reading whose mean word confidence is below this may be of a page
// upside down: its orientation is checked.
constexpr int kConfidentReading = 60;
// Tesseract reads a clean page, or a photograph of one, at a mean word
// confidence above this.
constexpr int kSureReading = 80;

// The resolution `pixels` are recognized at once `page` prepared them.
uint32_t RecognitionResolution(const LeptonicaImage& pixels, const PagePreparation& page) {
  // Text scaled has the size of print read at the default resolution.
  uint32_t resolution = pixels.resolution();
  if (page.scale() != 1 || resolution < kMinDeclaredResolution || resolution > kMaxResolution) {
    return page.drawn() && page.scale() == 1 ? kScreenResolution : kDefaultResolution;
  }
  return resolution;
}

// The clockwise quarter turns that put the page upright; 0 without the
// orientation data, which is a separate package.
int DetectQuarterTurns(const RecognizerPool& recognizers, const PagePreparation& page) {
  RecognizerPool::Lease osd =
      RecognizerPool::For(recognizers.tessdata_folder(), kOrientationData)->Acquire();
  return osd ? page.DetectQuarterTurns(osd.get()) : 0;
}

// `image` read once more, prepared by `page` with `quarter_turns` and
// `light_text`.
RuntimeError ReadAgain(RecognizerPool& recognizers,
                       tesseract::TessBaseAPI* recognizer,
                       const PagePreparation& page,
                       PIX* image,
                       int quarter_turns,
                       PagePreparation::LightText light_text,
                       uint32_t resolution,
                       const RecognitionStop& stop,
                       RecognizedText* again) {
  auto stop_requested = [&stop] { return stop.Requested(); };
  ScopedPix prepared = page.Prepare(image, quarter_turns, stop_requested, light_text);
  if (prepared == nullptr && stop.Requested()) {
    return stop.Failure();
  }
  return RecognizePageSplit(recognizers, recognizer, std::move(prepared), resolution, stop, again);
}

// Whether `page`, of `image`, is read twice at once: a page with light text
// up to a 4K screen's size, each reading with a recognizer and a copy of the
// page of its own. A larger page's two could pass the memory budget, and
// are read one after the other.
bool ReadsTwiceAtOnce(const PagePreparation& page, PIX* image) {
  return page.has_light_text() && uint64_t{static_cast<uint32_t>(pixGetWidth(image))} *
                                          static_cast<uint32_t>(pixGetHeight(image)) <=
                                      static_cast<uint64_t>(kLargestScreenPixels);
}

// Whether `page` may be read on a thread of its own: a clone shares its
// reference count with the image, which this thread goes on using.
bool OwnedAlone(const ScopedPix& page) {
  return page != nullptr && pixGetRefcount(page.get()) == 1;
}

// Whether a second reading failed other than by running out of time: the
// page was read once in time, and that reading stands.
bool FailedBeyondTime(const RuntimeError& error) {
  return FAILED(error.code) && error.code != HRESULT_FROM_WIN32(ERROR_TIMEOUT);
}

// How a reading of a page weighs against another: a confident one against
// one that is not, then by how much text it reads with confidence. A
// reading that leaves out a region of text is not the better for being sure
// of the rest; one that adds garbage to it is no longer confident.
std::pair<bool, double> Weight(const RecognizedText& reading) {
  return {reading.confidence >= kConfidentReading,
          static_cast<double>(reading.confidence) * static_cast<double>(reading.text.size())};
}

}  // namespace

RuntimeError RecognizeUpright(RecognizerPool& recognizers,
                              const LeptonicaImage& pixels,
                              const RecognitionStop& stop,
                              std::string* text) {
  // The pixels' reference count moves while a recognition holds them
  // (through the image below, and whatever Tesseract keeps until it is
  // cleared): the lock is taken first, so it outlives both.
  std::unique_lock<std::mutex> pixels_lock = pixels.LockForRecognition();
  std::future<RecognizerPool::Lease> lease = AcquireAside(recognizers);
  ScopedPix image = pixels.PixForRecognition();
  auto stop_requested = [&stop] { return stop.Requested(); };
  PagePreparation page;
  bool analyzed = image != nullptr && page.Analyze(image.get(), stop_requested);
  // The letters' shapes tell which way up most pages are. When they do not,
  // a page on its side is turned as Tesseract's orientation detection says
  // before it is read, and any other is read as it lies. Either way the
  // detection is asked when the reading is poor, so that an upright page
  // costs none. What needs no recognizer is done while the language loads.
  int guessed_turns = analyzed ? page.GuessQuarterTurns() : -1;
  bool oriented = guessed_turns < 0 && page.LinesRunVertically();
  int quarter_turns = std::max(guessed_turns, 0);
  // A page with light text is read both ways at once, one way by a second
  // recognizer, which loads meanwhile, the other by the first, which is
  // ready sooner, and reads the page that takes longer: as it is, as
  // Tesseract tries each light line of it inverted too, but inverted when
  // the page is dark, as it is then negated whole. A dark page long enough
  // to be cut at a line is cut, each way at its own line, and the two
  // recognizers read the parts, each taking the next as it is free: read
  // whole, its lines come out worse (a code page's underscores, a
  // terminal's file names). A light one is read whole, which is sooner:
  // a part of it read alone can lose a faint line (a chat's text field).
  ScopedPix prepared;
  ScopedPix as_it_is_page;
  std::future<AsideRecognition> aside;
  bool as_it_is_aside = false;
  bool split_both_ways = false;
  std::future<RecognizerPool::Lease> second_recognizer;
  if (analyzed && !oriented && page.may_hold_text()) {
    prepared = page.Prepare(image.get(), quarter_turns, stop_requested);
    bool reads_twice = ReadsTwiceAtOnce(page, image.get());
    bool cut_dark = reads_twice && prepared != nullptr && page.dark() && CutsAtLine(prepared.get());
    if (cut_dark || (reads_twice && OwnedAlone(prepared))) {
      second_recognizer = AcquireAside(recognizers);
      as_it_is_page = page.Prepare(image.get(), quarter_turns, stop_requested,
                                   PagePreparation::LightText::kAsItIs);
      split_both_ways = cut_dark && as_it_is_page != nullptr;
    }
    if (!cut_dark && as_it_is_page != nullptr) {
      as_it_is_aside = page.dark() && OwnedAlone(as_it_is_page);
      aside = RecognizeAside(std::move(second_recognizer),
                             std::move(as_it_is_aside ? as_it_is_page : prepared),
                             RecognitionResolution(pixels, page), stop);
      if (!aside.valid()) {
        as_it_is_page.reset();
        prepared = page.Prepare(image.get(), quarter_turns, stop_requested);
      }
    }
  }
  const bool read_both_ways = aside.valid() || split_both_ways;
  const int both_ways_turns = quarter_turns;
  RecognizerPool::Lease recognizer = lease.get();
  if (!recognizer) {
    return {E_FAIL, kNoLanguageDataMessage};
  }
  if (!analyzed) {
    return stop.Requested() ? stop.Failure() : RuntimeError{E_OUTOFMEMORY, {}};
  }
  if (!page.may_hold_text()) {
    text->clear();
    return {};
  }
  UseOneTesseractThread();
  uint32_t resolution = RecognitionResolution(pixels, page);
  if (oriented) {
    quarter_turns = DetectQuarterTurns(recognizers, page);
    prepared = page.Prepare(image.get(), quarter_turns, stop_requested);
  }
  RecognizedText recognized;
  RecognizedText as_it_is;
  RuntimeError as_it_is_error;
  RuntimeError error;
  if (split_both_ways) {
    std::vector<ScopedPix> pages;
    pages.push_back(std::move(prepared));
    pages.push_back(std::move(as_it_is_page));
    std::vector<AsideRecognition> outcomes = RecognizePagesSplit(
        std::move(second_recognizer), recognizer.get(), std::move(pages), resolution, stop);
    error = std::move(outcomes[0].error);
    recognized = std::move(outcomes[0].recognized);
    as_it_is_error = std::move(outcomes[1].error);
    as_it_is = std::move(outcomes[1].recognized);
  } else if (aside.valid()) {
    RuntimeError& here_error = as_it_is_aside ? error : as_it_is_error;
    RecognizedText& here = as_it_is_aside ? recognized : as_it_is;
    here_error = RecognizeWithTesseract(recognizer.get(),
                                        std::move(as_it_is_aside ? prepared : as_it_is_page),
                                        resolution, stop, &here);
    AsideRecognition there = aside.get();
    (as_it_is_aside ? as_it_is_error : error) = std::move(there.error);
    (as_it_is_aside ? as_it_is : recognized) = std::move(there.recognized);
  } else {
    if (prepared == nullptr && stop.Requested()) {
      return stop.Failure();
    }
    error = RecognizePageSplit(recognizers, recognizer.get(), std::move(prepared), resolution, stop,
                               &recognized);
  }
  if (FAILED(error.code)) {
    return error;
  }
  // No text at all is no sign of a page upside down.
  if (!oriented && !recognized.text.empty() && recognized.confidence < kConfidentReading) {
    int upright_turns = DetectQuarterTurns(recognizers, page);
    if (upright_turns != quarter_turns) {
      RecognizedText turned;
      error = ReadAgain(recognizers, recognizer.get(), page, image.get(), upright_turns,
                        PagePreparation::LightText::kInverted, resolution, stop, &turned);
      if (FailedBeyondTime(error)) {
        return error;
      }
      if (SUCCEEDED(error.code) && turned.confidence > recognized.confidence) {
        recognized = std::move(turned);
        quarter_turns = upright_turns;
      }
    }
  }
  // Light text is inverted where it lies on a ground of its own. Where what
  // was taken for its ground is none, as the thick strokes of a marker, the
  // page reads better as it is. A page turned since it was read both ways
  // is read as it is again.
  if (page.has_light_text()) {
    if (!read_both_ways || quarter_turns != both_ways_turns) {
      as_it_is = {};
      as_it_is_error = ReadAgain(recognizers, recognizer.get(), page, image.get(), quarter_turns,
                                 PagePreparation::LightText::kAsItIs, resolution, stop, &as_it_is);
    }
    if (FailedBeyondTime(as_it_is_error)) {
      return as_it_is_error;
    }
    if (SUCCEEDED(as_it_is_error.code) && Weight(as_it_is) > Weight(recognized)) {
      recognized = std::move(as_it_is);
    }
  }
  // A photograph read without assurance may hold its text over a picture:
  // a caption, a sign on its plate. Tesseract reads such text in part, with
  // the picture and the plate's border around it, and whole alone.
  ScopedPix picture =
      recognized.confidence < kSureReading ? page.PictureTextCopy(image.get()) : nullptr;
  for (TextShade shade : {TextShade::kLight, TextShade::kDark}) {
    if (picture == nullptr || recognized.confidence >= kSureReading) {
      break;
    }
    ScopedPix picture_text = FindPictureText(picture.get(), shade);
    if (picture_text == nullptr) {
      continue;
    }
    RecognizedText over_picture;
    error = RecognizePageSplit(recognizers, recognizer.get(), std::move(picture_text),
                               kDefaultResolution, stop, &over_picture);
    if (FailedBeyondTime(error)) {
      return error;
    }
    if (SUCCEEDED(error.code) && Weight(over_picture) > Weight(recognized)) {
      recognized = std::move(over_picture);
    }
  }
  *text = std::move(recognized.text);
  return {};
}

}  // namespace winrt_layer
