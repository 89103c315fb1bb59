#include "ocr/recognize_image_file.h"

#include <windows.globalization.h>
#include <windows.graphics.imaging.h>
#include <windows.media.ocr.h>
#include <windows.storage.h>
#include <winstring.h>

#include <string_view>

#include "ocr/activation_factory.h"
#include "ocr/await_operation.h"
#include "ocr/com_ptr.h"
#include "ocr/message_failure.h"
#include "ocr/platform_error.h"
#include "ocr/unique_hstring.h"
#include "ocr/utf_conversion.h"

namespace {

using ABI::Windows::Foundation::IAsyncOperation;
using ABI::Windows::Globalization::ILanguage;
using ABI::Windows::Globalization::ILanguageFactory;
using ABI::Windows::Graphics::Imaging::BitmapDecoder;
using ABI::Windows::Graphics::Imaging::IBitmapDecoder;
using ABI::Windows::Graphics::Imaging::IBitmapDecoderStatics;
using ABI::Windows::Graphics::Imaging::IBitmapFrameWithSoftwareBitmap;
using ABI::Windows::Graphics::Imaging::ISoftwareBitmap;
using ABI::Windows::Graphics::Imaging::SoftwareBitmap;
using ABI::Windows::Media::Ocr::IOcrEngine;
using ABI::Windows::Media::Ocr::IOcrEngineStatics;
using ABI::Windows::Media::Ocr::IOcrResult;
using ABI::Windows::Media::Ocr::OcrResult;
using ABI::Windows::Storage::FileAccessMode_Read;
using ABI::Windows::Storage::IStorageFile;
using ABI::Windows::Storage::IStorageFileStatics;
using ABI::Windows::Storage::StorageFile;
using ABI::Windows::Storage::Streams::IRandomAccessStream;

UniqueHString MakeHString(std::wstring_view text) {
  UniqueHString string;
  ThrowIfFailed(WindowsCreateString(text.data(), static_cast<UINT32>(text.size()), string.Put()));
  return string;
}

ComPtr<ISoftwareBitmap> DecodeImageFile(const std::string& path) {
  const UniqueHString wide_path = MakeHString(Utf8ToWide(path));

  const ComPtr<IStorageFileStatics> files =
      GetActivationFactory<IStorageFileStatics>(RuntimeClass_Windows_Storage_StorageFile);
  ComPtr<IAsyncOperation<StorageFile*>> file_lookup;
  ThrowIfFailed(files->GetFileFromPathAsync(wide_path.Get(), file_lookup.Put()));
  const ComPtr<IStorageFile> file = AwaitOperation(file_lookup.Get());

  ComPtr<IAsyncOperation<IRandomAccessStream*>> opening;
  ThrowIfFailed(file->OpenAsync(FileAccessMode_Read, opening.Put()));
  const ComPtr<IRandomAccessStream> stream = AwaitOperation(opening.Get());

  const ComPtr<IBitmapDecoderStatics> decoders = GetActivationFactory<IBitmapDecoderStatics>(
      RuntimeClass_Windows_Graphics_Imaging_BitmapDecoder);
  ComPtr<IAsyncOperation<BitmapDecoder*>> decoder_creation;
  ThrowIfFailed(decoders->CreateAsync(stream.Get(), decoder_creation.Put()));
  const ComPtr<IBitmapDecoder> decoder = AwaitOperation(decoder_creation.Get());

  ComPtr<IBitmapFrameWithSoftwareBitmap> frame;
  ThrowIfFailed(decoder.As(&frame));
  ComPtr<IAsyncOperation<SoftwareBitmap*>> decoding;
  ThrowIfFailed(frame->GetSoftwareBitmapAsync(decoding.Put()));
  return AwaitOperation(decoding.Get());
}

// An engine for the user's languages, else for kFallbackLanguageTag.
ComPtr<IOcrEngine> CreateOcrEngine() {
  const ComPtr<IOcrEngineStatics> engines =
      GetActivationFactory<IOcrEngineStatics>(RuntimeClass_Windows_Media_Ocr_OcrEngine);
  ComPtr<IOcrEngine> engine;
  ThrowIfFailed(engines->TryCreateFromUserProfileLanguages(engine.Put()));
  if (engine) {
    return engine;
  }

  const ComPtr<ILanguageFactory> languages =
      GetActivationFactory<ILanguageFactory>(RuntimeClass_Windows_Globalization_Language);
  const UniqueHString tag = MakeHString(kFallbackLanguageTag);
  ComPtr<ILanguage> language;
  ThrowIfFailed(languages->CreateLanguage(tag.Get(), language.Put()));
  ThrowIfFailed(engines->TryCreateFromLanguage(language.Get(), engine.Put()));
  if (!engine) {
    throw MessageFailure(kMissingEngineMessage);
  }
  return engine;
}

}  // namespace

std::string RecognizeImageFile(const std::string& path) {
  const ComPtr<ISoftwareBitmap> bitmap = DecodeImageFile(path);
  const ComPtr<IOcrEngine> engine = CreateOcrEngine();

  ComPtr<IAsyncOperation<OcrResult*>> recognition;
  ThrowIfFailed(engine->RecognizeAsync(bitmap.Get(), recognition.Put()));
  const ComPtr<IOcrResult> result = AwaitOperation(recognition.Get());

  UniqueHString text;
  ThrowIfFailed(result->get_Text(text.Put()));
  return WideToUtf8(text.View());
}
