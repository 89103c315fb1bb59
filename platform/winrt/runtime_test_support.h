#ifndef PLATFORM_WINRT_RUNTIME_TEST_SUPPORT_H_
#define PLATFORM_WINRT_RUNTIME_TEST_SUPPORT_H_

// Tests only: drives the runtime through its public ABI, as the OCR
// pipeline does.

#include <roapi.h>
#include <roerrorapi.h>
#include <windows.foundation.h>
#include <windows.globalization.h>
#include <windows.graphics.imaging.h>
#include <windows.media.ocr.h>
#include <windows.storage.h>
#include <winnls.h>
#include <winstring.h>

#include <condition_variable>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/runtime_class.h"
#include "platform/winrt/runtime/scoped_hstring.h"

namespace winrt_layer::testing {

template <class T>
HRESULT GetFactory(const wchar_t* class_id, ComPtr<T>* factory) {
  HSTRING_HEADER header;
  HSTRING name = nullptr;
  HRESULT result = WindowsCreateStringReference(
      class_id, static_cast<UINT32>(std::wcslen(class_id)), &header, &name);
  if (FAILED(result)) {
    return result;
  }
  return RoGetActivationFactory(name, __uuidof(T),
                                reinterpret_cast<void**>(factory->ReleaseAndGetAddressOf()));
}

inline ScopedHString MakeHString(std::wstring_view text) {
  HRESULT result;
  return ScopedHString::Create(text, &result);
}

// The restricted error the calling thread has recorded (taking it), or a
// code of S_FALSE when there is none.
struct RecordedError {
  HRESULT code = S_FALSE;
  std::wstring description;
  std::wstring restricted_description;
};

inline RecordedError TakeRecordedError() {
  RecordedError recorded;
  ComPtr<IRestrictedErrorInfo> info;
  if (GetRestrictedErrorInfo(info.ReleaseAndGetAddressOf()) != S_OK) {
    return recorded;
  }
  BSTR description = nullptr;
  BSTR restricted = nullptr;
  BSTR sid = nullptr;
  if (SUCCEEDED(info->GetErrorDetails(&description, &recorded.code, &restricted, &sid))) {
    recorded.description = description != nullptr ? description : L"";
    recorded.restricted_description = restricted != nullptr ? restricted : L"";
  }
  SysFreeString(description);
  SysFreeString(restricted);
  SysFreeString(sid);
  return recorded;
}

// A completion handler that records how and where the operation ended.
template <class TResult>
class RecordingHandler final
    : public ComClass<ABI::Windows::Foundation::IAsyncOperationCompletedHandler<TResult>> {
 public:
  RecordingHandler() = default;

  IFACEMETHODIMP Invoke(ABI::Windows::Foundation::IAsyncOperation<TResult>*,
                        ABI::Windows::Foundation::AsyncStatus status) override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++calls_;
    status_ = status;
    thread_ = std::this_thread::get_id();
    ended_.notify_all();
    return S_OK;
  }

  ABI::Windows::Foundation::AsyncStatus Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return calls_ > 0; });
    return status_;
  }

  int calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

  std::thread::id thread() {
    std::lock_guard<std::mutex> lock(mutex_);
    return thread_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  int calls_ = 0;
  ABI::Windows::Foundation::AsyncStatus status_ = ABI::Windows::Foundation::Started;
  std::thread::id thread_;
};

// Waits for `operation` to end as the pipeline does, then takes its results
// into *result; returns the HRESULT of GetResults.
template <class TResult, class TAbi>
HRESULT Await(ABI::Windows::Foundation::IAsyncOperation<TResult>* operation, ComPtr<TAbi>* result) {
  auto handler = MakeObject<RecordingHandler<TResult>>();
  HRESULT put = operation->put_Completed(handler.Get());
  if (FAILED(put)) {
    return put;
  }
  handler->Wait();
  return operation->GetResults(result->ReleaseAndGetAddressOf());
}

// Starts an operation with `start(IAsyncOperation<TResult>**)` and awaits
// it; the HRESULT of the start when it fails, else that of GetResults.
template <class TResult, class TAbi, class Start>
HRESULT StartAndAwait(Start start, ComPtr<TAbi>* result) {
  ComPtr<ABI::Windows::Foundation::IAsyncOperation<TResult>> operation;
  HRESULT started = start(operation.ReleaseAndGetAddressOf());
  if (FAILED(started)) {
    return started;
  }
  return Await(operation.Get(), result);
}

// Sets environment variables for the life of a test, then restores them.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

  // Null unsets the variable.
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }

  // Only `language` (a locale name, or null) decides the profile
  // languages.
  void SetProfileLanguage(const char* language) {
    Set("LANGUAGE", nullptr);
    Set("LC_ALL", nullptr);
    Set("LC_MESSAGES", nullptr);
    Set("LANG", language);
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A JPEG APP1 segment holding `tiff`, an EXIF block, after the EXIF
// signature.
inline std::vector<uint8_t> ExifSegment(const std::vector<uint8_t>& tiff) {
  size_t length = 2 + 6 + tiff.size();
  std::vector<uint8_t> segment = {0xFF, 0xE1, static_cast<uint8_t>(length >> 8),
                                  static_cast<uint8_t>(length & 0xFF)};
  for (char c : {'E', 'x', 'i', 'f', '\0', '\0'}) {
    segment.push_back(static_cast<uint8_t>(c));
  }
  segment.insert(segment.end(), tiff.begin(), tiff.end());
  return segment;
}

inline std::string FixturePath(const char* name) {
  return std::string(WINRT_FIXTURES_DIR) + "/" + name;
}

inline std::wstring Utf8ToWide(const std::string& text) {
  int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

inline HRESULT OpenFile(const std::string& path,
                        ComPtr<ABI::Windows::Storage::IStorageFile>* file) {
  ComPtr<ABI::Windows::Storage::IStorageFileStatics> files;
  HRESULT result = GetFactory(L"Windows.Storage.StorageFile", &files);
  if (FAILED(result)) {
    return result;
  }
  ScopedHString hpath = MakeHString(Utf8ToWide(path));
  return StartAndAwait<ABI::Windows::Storage::StorageFile*>(
      [&](auto** operation) { return files->GetFileFromPathAsync(hpath.Get(), operation); }, file);
}

// The decoder of the file at `path`, made as the pipeline makes it.
inline HRESULT OpenDecoder(const std::string& path,
                           ComPtr<ABI::Windows::Graphics::Imaging::IBitmapDecoder>* decoder) {
  ComPtr<ABI::Windows::Storage::IStorageFile> file;
  HRESULT result = OpenFile(path, &file);
  if (FAILED(result)) {
    return result;
  }
  ComPtr<ABI::Windows::Storage::Streams::IRandomAccessStream> stream;
  result = StartAndAwait<ABI::Windows::Storage::Streams::IRandomAccessStream*>(
      [&](auto** operation) {
        return file->OpenAsync(ABI::Windows::Storage::FileAccessMode_Read, operation);
      },
      &stream);
  if (FAILED(result)) {
    return result;
  }
  ComPtr<ABI::Windows::Graphics::Imaging::IBitmapDecoderStatics> decoders;
  result = GetFactory(L"Windows.Graphics.Imaging.BitmapDecoder", &decoders);
  if (FAILED(result)) {
    return result;
  }
  return StartAndAwait<ABI::Windows::Graphics::Imaging::BitmapDecoder*>(
      [&](auto** operation) { return decoders->CreateAsync(stream.Get(), operation); }, decoder);
}

// The first frame of the file at `path`.
inline HRESULT LoadBitmap(const std::string& path,
                          ComPtr<ABI::Windows::Graphics::Imaging::ISoftwareBitmap>* bitmap) {
  ComPtr<ABI::Windows::Graphics::Imaging::IBitmapDecoder> decoder;
  HRESULT result = OpenDecoder(path, &decoder);
  if (FAILED(result)) {
    return result;
  }
  auto frame = decoder.As<ABI::Windows::Graphics::Imaging::IBitmapFrameWithSoftwareBitmap>();
  return StartAndAwait<ABI::Windows::Graphics::Imaging::SoftwareBitmap*>(
      [&](auto** operation) { return frame->GetSoftwareBitmapAsync(operation); }, bitmap);
}

// The engine for the user's profile languages (null when there is none).
inline HRESULT ProfileEngine(ComPtr<ABI::Windows::Media::Ocr::IOcrEngine>* engine) {
  ComPtr<ABI::Windows::Media::Ocr::IOcrEngineStatics> engines;
  HRESULT result = GetFactory(L"Windows.Media.Ocr.OcrEngine", &engines);
  if (FAILED(result)) {
    return result;
  }
  return engines->TryCreateFromUserProfileLanguages(engine->ReleaseAndGetAddressOf());
}

// The text `engine` recognizes in `bitmap`.
inline HRESULT Recognize(ABI::Windows::Media::Ocr::IOcrEngine* engine,
                         ABI::Windows::Graphics::Imaging::ISoftwareBitmap* bitmap,
                         std::wstring* text) {
  ComPtr<ABI::Windows::Media::Ocr::IOcrResult> result;
  HRESULT recognized = StartAndAwait<ABI::Windows::Media::Ocr::OcrResult*>(
      [&](auto** operation) { return engine->RecognizeAsync(bitmap, operation); }, &result);
  if (FAILED(recognized)) {
    return recognized;
  }
  ScopedHString value;
  recognized = result->get_Text(value.Receive());
  *text = std::wstring(value.View());
  return recognized;
}

}  // namespace winrt_layer::testing

#endif  // PLATFORM_WINRT_RUNTIME_TEST_SUPPORT_H_
