#include "platform/winrt/recognition/ocr_engine_statics.h"

#include <exception>
#include <new>
#include <optional>
#include <string>

#include "platform/winrt/imaging/image_limits.h"
#include "platform/winrt/recognition/ocr_engine.h"
#include "platform/winrt/recognition/profile_languages.h"
#include "platform/winrt/recognition/recognizer_pool.h"
#include "platform/winrt/recognition/tesseract_languages.h"
#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/scoped_hstring.h"

namespace winrt_layer {
namespace {

// An engine for `tag` when its language's data is installed, else null.
ComPtr<ABI::Windows::Media::Ocr::IOcrEngine> CreateEngine(std::wstring_view tag) {
  std::optional<std::string> language = TesseractLanguageFor(tag);
  if (!language) {
    return nullptr;
  }
  std::string folder = TessdataFolder();
  if (!HasTrainedData(folder, *language)) {
    return nullptr;
  }
  return MakeObject<OcrEngine>(std::wstring(tag), RecognizerPool::For(folder, *language));
}

HRESULT TagOf(ABI::Windows::Globalization::ILanguage* language, ScopedHString* tag) {
  if (language == nullptr) {
    return OriginateError(E_INVALIDARG);
  }
  return language->get_LanguageTag(tag->Receive());
}

}  // namespace

IFACEMETHODIMP OcrEngineStatics::get_MaxImageDimension(UINT32* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = kMaxImageDimension;
  return S_OK;
}

IFACEMETHODIMP OcrEngineStatics::get_AvailableRecognizerLanguages(IInspectable** value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP OcrEngineStatics::IsLanguageSupported(
    ABI::Windows::Globalization::ILanguage* language,
    boolean* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = 0;
  try {
    ScopedHString tag;
    HRESULT result = TagOf(language, &tag);
    if (FAILED(result)) {
      return result;
    }
    std::optional<std::string> name = TesseractLanguageFor(tag.View());
    *value = name && HasTrainedData(TessdataFolder(), *name);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

IFACEMETHODIMP OcrEngineStatics::TryCreateFromLanguage(
    ABI::Windows::Globalization::ILanguage* language,
    ABI::Windows::Media::Ocr::IOcrEngine** engine) {
  if (engine == nullptr) {
    return E_POINTER;
  }
  *engine = nullptr;
  try {
    ScopedHString tag;
    HRESULT result = TagOf(language, &tag);
    if (FAILED(result)) {
      return result;
    }
    *engine = CreateEngine(tag.View()).Detach();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

IFACEMETHODIMP OcrEngineStatics::TryCreateFromUserProfileLanguages(
    ABI::Windows::Media::Ocr::IOcrEngine** engine) {
  if (engine == nullptr) {
    return E_POINTER;
  }
  *engine = nullptr;
  try {
    for (const std::wstring& tag : ProfileLanguages()) {
      if (ComPtr<ABI::Windows::Media::Ocr::IOcrEngine> found = CreateEngine(tag)) {
        *engine = found.Detach();
        break;
      }
    }
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

const wchar_t* OcrEngineStatics::ClassName() const {
  return L"Windows.Media.Ocr.OcrEngine";
}

}  // namespace winrt_layer
