#include "platform/winrt/recognition/ocr_engine.h"

#include <dlfcn.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <exception>
#include <future>
#include <mutex>
#include <new>
#include <string>
#include <system_error>

#include "platform/winrt/imaging/bitmap_pixels.h"
#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/recognition/language.h"
#include "platform/winrt/recognition/line_cut.h"
#include "platform/winrt/recognition/ocr_result.h"
#include "platform/winrt/recognition/page_preparation.h"
#include "platform/winrt/runtime/async_operation.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/thread_pool.h"
#include "platform/winrt/runtime/utf_conversion.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Media::Ocr::OcrResult*> RecognizeOperation;

constexpr wchar_t kNoBitmapMessage[] = L"No bitmap was given to recognise.";
constexpr wchar_t kForeignBitmapMessage[] = L"The bitmap was not decoded by this runtime.";
constexpr wchar_t kTooLargeMessageStart[] = L"The bitmap is ";
constexpr wchar_t kTooLargeMessageMiddle[] = L" pixels: OcrEngine recognises bitmaps of at most ";
constexpr wchar_t kTooLargeMessageEnd[] = L" pixels on each side.";
constexpr wchar_t kNoLanguageDataMessage[] = L"The OCR language data could not be loaded.";
constexpr wchar_t kRecognitionFailedMessage[] = L"The text recognition failed.";
constexpr wchar_t kTooMuchDetailMessageStart[] =
    L"The bitmap has too much fine detail to recognise: ";
constexpr wchar_t kTooMuchDetailMessageMiddle[] =
    L" outline pixels, where OcrEngine takes at most ";
constexpr wchar_t kTooMuchDetailMessageEnd[] = L".";

// The resolution Tesseract assumes when the file declares none it can use.
// Cameras declare 72 dpi whatever they photograph: a resolution under 100
// says nothing of the text's size.
constexpr uint32_t kDefaultResolution = 300;
constexpr uint32_t kMinDeclaredResolution = 100;
constexpr uint32_t kMaxResolution = 2400;

// Loading a language takes as long as Tesseract reading lines this many
// line heights long, all told: about 75 ms, at 1.2 to 1.4 ms a line height.
constexpr float kLanguageLoadInLineHeights = 55;

// Tesseract's data for page orientation (package tesseract-ocr-osd).
constexpr char kOrientationData[] = "osd";
// A reading whose mean word confidence is below this may be of a page
// upside down: its orientation is checked.
constexpr int kConfidentReading = 60;

// Debian's Tesseract parallelises with OpenMP, asking for more threads than
// this class of 2-core machine has: one recognition of english.png takes
// about 150 ms so, 31 ms on one thread, and a full page 7 s against 1.4 s.
// Its parallel regions name their thread count, which only the maximum of
// active levels overrides: at 0 every region runs on the thread that meets
// it. The limit belongs to that thread, so it is set on each recognising
// thread. The OpenMP runtime comes with Tesseract: it is looked up rather
// than linked.
void UseOneTesseractThread() {
  typedef void (*SetMaxActiveLevels)(int);
  static const auto set_max_active_levels =
      reinterpret_cast<SetMaxActiveLevels>(dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
  if (set_max_active_levels != nullptr) {
    set_max_active_levels(0);
  }
}

// Tesseract's cancel callback: the operation was canceled, or the process
// is exiting and waits for the recognition to end.
bool IsCanceled(void* canceled, int) noexcept {
  return static_cast<const std::atomic<bool>*>(canceled)->load() ||
         ThreadPool::Shared().IsStopping();
}

// The recognised lines in reading order, without their line breaks, joined
// by "\n"; lines of white space only are left out.
std::string JoinLines(tesseract::TessBaseAPI* recognizer) {
  std::string text;
  std::unique_ptr<tesseract::ResultIterator> line(recognizer->GetIterator());
  if (line == nullptr) {
    return text;
  }
  do {
    std::unique_ptr<char[]> utf8(line->GetUTF8Text(tesseract::RIL_TEXTLINE));
    if (utf8 == nullptr) {
      continue;
    }
    std::string line_text(utf8.get());
    size_t end = line_text.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) {
      continue;
    }
    line_text.erase(line_text.find_last_not_of("\r\n") + 1);
    if (!text.empty()) {
      text += '\n';
    }
    text += line_text;
  } while (line->Next(tesseract::RIL_TEXTLINE));
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

// A recognition of one preparation of the image, or of part of it.
struct Reading {
  std::string text;
  // Tesseract's mean word confidence, 0 to 100; 0 when no text was read.
  int confidence = 0;
};

// Recognises `prepared`, an image as `page` prepared it or part of one, on
// the calling thread; null is out of memory.
RuntimeError Read(tesseract::TessBaseAPI* recognizer,
                  const PagePreparation& page,
                  ScopedPix prepared,
                  uint32_t resolution,
                  const std::atomic<bool>& canceled,
                  Reading* reading) {
  if (prepared == nullptr) {
    return {E_OUTOFMEMORY, {}};
  }
  UseOneTesseractThread();
  tesseract::ETEXT_DESC monitor;
  monitor.cancel = IsCanceled;
  monitor.cancel_this = const_cast<std::atomic<bool>*>(&canceled);
  // The command-line tool's layout analysis: a photograph holds more than
  // one block of text, and the surface around the page.
  recognizer->SetPageSegMode(tesseract::PSM_AUTO);
  recognizer->SetImage(prepared.get());
  prepared.reset();
  // Text scaled down has the size of print read at the default resolution.
  recognizer->SetSourceResolution(
      static_cast<int>(page.scale() < 1 ? kDefaultResolution : resolution));
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
    return {E_FAIL, kRecognitionFailedMessage};
  }
  reading->text = JoinLines(recognizer);
  // On a page where Tesseract found no text, asking the confidence runs
  // the whole layout analysis again: Recognize leaves such a page marked
  // as not recognised.
  reading->confidence = reading->text.empty() ? 0 : recognizer->MeanTextConf();
  recognizer->Clear();
  return {};
}

// The rows of `image` from `top` to `bottom`; null without memory.
ScopedPix Rows(PIX* image, l_int32 top, l_int32 bottom) {
  ScopedBox rows(boxCreate(0, top, pixGetWidth(image), bottom - top));
  return ScopedPix(rows ? pixClipRectangle(image, rows.get(), nullptr) : nullptr);
}

// The outcome of reading part of a page aside.
struct PartReading {
  RuntimeError error;
  Reading reading;
};

// `part` read on a thread of its own by a second recogniser from
// `recognizers`; no future when no thread can start.
std::future<PartReading> ReadAside(RecognizerPool& recognizers,
                                   const PagePreparation& page,
                                   ScopedPix part,
                                   uint32_t resolution,
                                   const std::atomic<bool>& canceled) {
  auto read = [&recognizers, &page, part = std::move(part), resolution, &canceled]() mutable {
    PartReading outcome;
    RecognizerPool::Lease recognizer = recognizers.Acquire();
    // The first recogniser loaded the same data: this one lacked memory.
    outcome.error = recognizer ? Read(recognizer.get(), page, std::move(part), resolution, canceled,
                                      &outcome.reading)
                               : RuntimeError{E_OUTOFMEMORY, {}};
    return outcome;
  };
  try {
    return std::async(std::launch::async, std::move(read));
  } catch (const std::system_error&) {
    return {};
  }
}

// Recognises `prepared` with `recognizer`; when the page holds enough lines,
// the last of them are read at the same time by a second recogniser, which
// the second core makes sooner even when its language must be loaded.
RuntimeError ReadPage(RecognizerPool& recognizers,
                      tesseract::TessBaseAPI* recognizer,
                      const PagePreparation& page,
                      ScopedPix prepared,
                      uint32_t resolution,
                      const std::atomic<bool>& canceled,
                      Reading* reading) {
  if (prepared == nullptr) {
    return {E_OUTOFMEMORY, {}};
  }
  std::future<PartReading> below;
  l_int32 cut = FindLineCut(prepared.get(), kLanguageLoadInLineHeights);
  if (cut > 0) {
    ScopedPix lines_below = Rows(prepared.get(), cut, pixGetHeight(prepared.get()));
    if (lines_below == nullptr) {
      return {E_OUTOFMEMORY, {}};
    }
    below = ReadAside(recognizers, page, std::move(lines_below), resolution, canceled);
    if (below.valid()) {
      prepared = Rows(prepared.get(), 0, cut);
    }
  }
  RuntimeError error = Read(recognizer, page, std::move(prepared), resolution, canceled, reading);
  if (!below.valid()) {
    return error;
  }
  PartReading part = below.get();
  if (FAILED(error.code)) {
    return error;
  }
  if (FAILED(part.error.code)) {
    return std::move(part.error);
  }
  // The confidence of all words, as Tesseract would give it for the page:
  // each part weighs as the text it read.
  size_t above_length = reading->text.size();
  size_t below_length = part.reading.text.size();
  if (above_length + below_length > 0) {
    reading->confidence = static_cast<int>(
        (reading->confidence * above_length + part.reading.confidence * below_length) /
        (above_length + below_length));
  }
  if (!reading->text.empty() && !part.reading.text.empty()) {
    reading->text += '\n';
  }
  reading->text += part.reading.text;
  return {};
}

// The clockwise quarter turns that put the page upright; 0 without the
// orientation data, which is a separate package.
int DetectQuarterTurns(const RecognizerPool& recognizers, const PagePreparation& page) {
  RecognizerPool::Lease osd =
      RecognizerPool::For(recognizers.tessdata_folder(), kOrientationData)->Acquire();
  return osd ? page.DetectQuarterTurns(osd.get()) : 0;
}

// A recogniser from `recognizers`, acquired on a thread of its own when one
// can start. Loading a language's data the first time and analysing a photo
// take about a tenth of a second each and need each other only at the end:
// on a second core they overlap.
std::future<RecognizerPool::Lease> AcquireAside(RecognizerPool& recognizers) {
  auto acquire = [&recognizers] { return recognizers.Acquire(); };
  try {
    return std::async(std::launch::async, acquire);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, acquire);
  }
}

RecognizeOperation::Outcome Recognize(RecognizerPool& recognizers,
                                      const LeptonicaImage& pixels,
                                      const std::atomic<bool>& canceled) {
  // The pixels' reference count moves while a recognition holds them
  // (through the image below, and whatever Tesseract keeps until it is
  // cleared): the lock is taken first, so it outlives both.
  std::unique_lock<std::mutex> pixels_lock = pixels.LockForRecognition();
  std::future<RecognizerPool::Lease> lease = AcquireAside(recognizers);
  ScopedPix image = pixels.PixForRecognition();
  PagePreparation page;
  bool analysed = image != nullptr && page.Analyse(image.get());
  // The letters' shapes tell which way up most pages are. When they do not,
  // a page on its side is turned as Tesseract's orientation detection says
  // before it is read, and any other is read as it lies. Either way the
  // detection is asked when the reading is poor, so that an upright page
  // costs none. What needs no recogniser is done while the language loads.
  int guessed_turns = analysed ? page.GuessQuarterTurns() : -1;
  bool oriented = guessed_turns < 0 && page.LinesRunVertically();
  int quarter_turns = std::max(guessed_turns, 0);
  ScopedPix prepared;
  if (analysed && !oriented) {
    prepared = page.Prepare(image.get(), quarter_turns);
  }
  RecognizerPool::Lease recognizer = lease.get();
  if (!recognizer) {
    return {nullptr, RuntimeError{E_FAIL, kNoLanguageDataMessage}};
  }
  if (!analysed) {
    return {nullptr, RuntimeError{E_OUTOFMEMORY, {}}};
  }
  UseOneTesseractThread();
  uint32_t resolution = pixels.resolution();
  if (resolution < kMinDeclaredResolution || resolution > kMaxResolution) {
    resolution = kDefaultResolution;
  }
  if (oriented) {
    quarter_turns = DetectQuarterTurns(recognizers, page);
    prepared = page.Prepare(image.get(), quarter_turns);
  }
  Reading reading;
  RuntimeError error = ReadPage(recognizers, recognizer.get(), page, std::move(prepared),
                                resolution, canceled, &reading);
  if (FAILED(error.code)) {
    return {nullptr, std::move(error)};
  }
  // No text at all is no sign of a page upside down.
  if (!oriented && !reading.text.empty() && reading.confidence < kConfidentReading) {
    int upright_turns = DetectQuarterTurns(recognizers, page);
    Reading turned;
    if (upright_turns != quarter_turns) {
      error = ReadPage(recognizers, recognizer.get(), page,
                       page.Prepare(image.get(), upright_turns), resolution, canceled, &turned);
      if (FAILED(error.code)) {
        return {nullptr, std::move(error)};
      }
      if (turned.confidence > reading.confidence) {
        reading = std::move(turned);
      }
    }
  }
  return {MakeObject<OcrResult>(Utf8ToWide(reading.text)), {}};
}

}  // namespace

OcrEngine::OcrEngine(std::wstring language_tag, std::shared_ptr<RecognizerPool> recognizers)
    : language_tag_(std::move(language_tag)), recognizers_(std::move(recognizers)) {}

IFACEMETHODIMP OcrEngine::RecognizeAsync(
    ABI::Windows::Graphics::Imaging::ISoftwareBitmap* bitmap,
    ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Media::Ocr::OcrResult*>** operation) {
  if (operation == nullptr) {
    return E_POINTER;
  }
  *operation = nullptr;
  try {
    if (bitmap == nullptr) {
      return OriginateError(E_INVALIDARG, kNoBitmapMessage);
    }
    INT32 width = 0;
    INT32 height = 0;
    if (FAILED(bitmap->get_PixelWidth(&width)) || FAILED(bitmap->get_PixelHeight(&height))) {
      return OriginateError(E_INVALIDARG, kForeignBitmapMessage);
    }
    if (width < 0 || height < 0 || static_cast<uint32_t>(width) > kMaxImageDimension ||
        static_cast<uint32_t>(height) > kMaxImageDimension) {
      return OriginateError(E_INVALIDARG, kTooLargeMessageStart + std::to_wstring(width) + L" x " +
                                              std::to_wstring(height) + kTooLargeMessageMiddle +
                                              std::to_wstring(kMaxImageDimension) +
                                              kTooLargeMessageEnd);
    }
    ComPtr<IBitmapPixels> source = ComPtr<IUnknown>(bitmap).As<IBitmapPixels>();
    if (!source) {
      return OriginateError(E_INVALIDARG, kForeignBitmapMessage);
    }
    std::shared_ptr<const LeptonicaImage> pixels = source->Pixels();
    *operation = RecognizeOperation::Run([recognizers = recognizers_,
                                          pixels](const std::atomic<bool>& canceled) {
                   return Recognize(*recognizers, *pixels, canceled);
                 }).Detach();
    return S_OK;
  } catch (...) {
    return ResultFromCaughtException();
  }
}

IFACEMETHODIMP OcrEngine::get_RecognizerLanguage(ABI::Windows::Globalization::ILanguage** value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = nullptr;
  try {
    *value = MakeObject<Language>(language_tag_).Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

const wchar_t* OcrEngine::ClassName() const {
  return L"Windows.Media.Ocr.OcrEngine";
}

}  // namespace winrt_layer
