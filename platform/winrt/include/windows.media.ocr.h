#ifndef PLATFORM_WINRT_INCLUDE_WINDOWS_MEDIA_OCR_H_
#define PLATFORM_WINRT_INCLUDE_WINDOWS_MEDIA_OCR_H_

// Windows.Media.Ocr: text recognition in a bitmap. Arguments of types not
// declared here are passed as IInspectable.

#include <inspectable.h>

#include "windows.foundation.h"
#include "windows.globalization.h"
#include "windows.graphics.imaging.h"

namespace ABI::Windows::Media::Ocr {

class OcrResult;

struct IOcrResult : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Lines(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TextAngle(IInspectable** value) = 0;
  // The lines in reading order, joined by line breaks; null when there is
  // no text.
  virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) = 0;
};

}  // namespace ABI::Windows::Media::Ocr

namespace ABI::Windows::Foundation {
template <>
struct IAsyncOperationCompletedHandler<Media::Ocr::OcrResult*>
    : public IAsyncOperationCompletedHandler_impl<
          Internal::AggregateType<Media::Ocr::OcrResult*, Media::Ocr::IOcrResult*>> {};
template <>
struct IAsyncOperation<Media::Ocr::OcrResult*>
    : public IAsyncOperation_impl<
          Internal::AggregateType<Media::Ocr::OcrResult*, Media::Ocr::IOcrResult*>> {};
}  // namespace ABI::Windows::Foundation

namespace ABI::Windows::Media::Ocr {

struct IOcrEngine : public IInspectable {
  // A bitmap wider or taller than MaxImageDimension fails at once.
  virtual HRESULT STDMETHODCALLTYPE
  RecognizeAsync(Graphics::Imaging::ISoftwareBitmap* bitmap,
                 Foundation::IAsyncOperation<OcrResult*>** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RecognizerLanguage(Globalization::ILanguage** value) = 0;
};

struct IOcrEngineStatics : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_MaxImageDimension(UINT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AvailableRecognizerLanguages(IInspectable** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsLanguageSupported(Globalization::ILanguage* language,
                                                        boolean* value) = 0;
  // S_OK with a null engine when the language has no recognizer.
  virtual HRESULT STDMETHODCALLTYPE TryCreateFromLanguage(Globalization::ILanguage* language,
                                                          IOcrEngine** engine) = 0;
  // S_OK with a null engine when no language of the user's profile has a
  // recognizer.
  virtual HRESULT STDMETHODCALLTYPE TryCreateFromUserProfileLanguages(IOcrEngine** engine) = 0;
};

}  // namespace ABI::Windows::Media::Ocr

inline constexpr WCHAR RuntimeClass_Windows_Media_Ocr_OcrEngine[] = L"Windows.Media.Ocr.OcrEngine";

// clang-format off
__CRT_UUID_DECL(ABI::Windows::Media::Ocr::IOcrResult, 0x9bd235b2, 0x175b, 0x3d6a, 0x92, 0xe2, 0x38, 0x8c, 0x20, 0x6e, 0x2f, 0x63)
__CRT_UUID_DECL(ABI::Windows::Media::Ocr::IOcrEngine, 0x5a14bc41, 0x5b76, 0x3140, 0xb6, 0x80, 0x88, 0x25, 0x56, 0x26, 0x83, 0xac)
__CRT_UUID_DECL(ABI::Windows::Media::Ocr::IOcrEngineStatics, 0x5bffa85a, 0x3384, 0x3540, 0x99, 0x40, 0x69, 0x91, 0x20, 0xd4, 0x28, 0xa8)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Media::Ocr::OcrResult*>, 0xc7d7118e, 0xae36, 0x59c0, 0xac, 0x76, 0x7b, 0xad, 0xee, 0x71, 0x1c, 0x8b)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperationCompletedHandler<ABI::Windows::Media::Ocr::OcrResult*>, 0x989c1371, 0x444a, 0x5e7e, 0xb1, 0x97, 0x9e, 0xaa, 0xf9, 0xd2, 0x82, 0x9a)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_WINDOWS_MEDIA_OCR_H_
