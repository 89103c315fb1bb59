#include "platform/winrt/recognition/ocr_engine.h"

#include <chrono>
#include <new>
#include <string>
#include <utility>

#include "platform/winrt/imaging/bitmap_pixels.h"
#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/recognition/language.h"
#include "platform/winrt/recognition/ocr_result.h"
#include "platform/winrt/recognition/upright_recognition.h"
#include "platform/winrt/runtime/async_operation.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/utf_conversion.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Media::Ocr::OcrResult*> RecognizeOperation;

constexpr wchar_t kNoBitmapMessage[] = L"No bitmap was given to recognise.";
constexpr wchar_t kForeignBitmapMessage[] = L"The bitmap was not decoded by this runtime.";
constexpr wchar_t kTooLargeMessageStart[] = L"The bitmap is ";
constexpr wchar_t kTooLargeMessageMiddle[] = L" pixels: OcrEngine recognises bitmaps of at most ";
constexpr wchar_t kTooLargeMessageEnd[] = L" pixels on each side.";

// The longest a recognition takes, from RecognizeAsync to its end: a page
// dense with small print can keep Tesseract for minutes, and the caller
// waits for it.
constexpr std::chrono::seconds kRecognitionBudget{30};

RecognizeOperation::Outcome Recognize(RecognizerPool& recognizers,
                                      const LeptonicaImage& pixels,
                                      const RecognitionStop& stop) {
  std::string text;
  RuntimeError error = RecognizeUpright(recognizers, pixels, stop, &text);
  if (FAILED(error.code)) {
    return {nullptr, std::move(error)};
  }
  return {MakeObject<OcrResult>(Utf8ToWide(text)), {}};
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
    auto deadline = std::chrono::steady_clock::now() + kRecognitionBudget;
    *operation = RecognizeOperation::Run([recognizers = recognizers_, pixels,
                                          deadline](const std::atomic<bool>& canceled) {
                   return Recognize(*recognizers, *pixels, RecognitionStop{canceled, deadline});
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
