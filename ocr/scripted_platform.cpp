#include "ocr/scripted_platform.h"

#include <roerrorapi.h>
#include <windows.globalization.h>
#include <windows.graphics.imaging.h>
#include <windows.media.ocr.h>
#include <windows.storage.h>
#include <winstring.h>

#include <chrono>
#include <utility>

#include "ocr/com_ptr.h"
#include "ocr/runtime_object.h"
#include "ocr/scripted_activation.h"
#include "ocr/unique_hstring.h"
#include "ocr/utf_conversion.h"

namespace {

using ABI::Windows::Foundation::AsyncStatus;
using ABI::Windows::Foundation::IAsyncInfo;
using ABI::Windows::Foundation::IAsyncOperation;
using ABI::Windows::Foundation::IAsyncOperationCompletedHandler;
using ABI::Windows::Globalization::ILanguage;
using ABI::Windows::Globalization::ILanguageFactory;
using ABI::Windows::Graphics::Imaging::BitmapAlphaMode;
using ABI::Windows::Graphics::Imaging::BitmapDecoder;
using ABI::Windows::Graphics::Imaging::BitmapPixelFormat;
using ABI::Windows::Graphics::Imaging::IBitmapDecoder;
using ABI::Windows::Graphics::Imaging::IBitmapDecoderStatics;
using ABI::Windows::Graphics::Imaging::IBitmapFrameWithSoftwareBitmap;
using ABI::Windows::Graphics::Imaging::ISoftwareBitmap;
using ABI::Windows::Graphics::Imaging::SoftwareBitmap;
using ABI::Windows::Media::Ocr::IOcrEngine;
using ABI::Windows::Media::Ocr::IOcrEngineStatics;
using ABI::Windows::Media::Ocr::IOcrResult;
using ABI::Windows::Media::Ocr::OcrResult;
using ABI::Windows::Storage::FileAccessMode;
using ABI::Windows::Storage::IStorageFile;
using ABI::Windows::Storage::IStorageFileStatics;
using ABI::Windows::Storage::StorageFile;
using ABI::Windows::Storage::Streams::IInputStream;
using ABI::Windows::Storage::Streams::IOutputStream;
using ABI::Windows::Storage::Streams::IRandomAccessStream;

using Step = ScriptedPlatform::Step;
using StepScript = ScriptedPlatform::StepScript;

constexpr HRESULT kIllegalMethodCall = static_cast<HRESULT>(0x8000000E);

// Records the restricted details the script asks for on the calling thread,
// as a failing platform call does, and returns `code`.
HRESULT Fail(const StepScript& script, HRESULT code) {
  if (script.restricted_description.has_value()) {
    UniqueHString message;
    WindowsCreateString(script.restricted_description->c_str(),
                        static_cast<UINT32>(script.restricted_description->size()), message.Put());
    RoOriginateError(script.restricted_code.value_or(code), message.Get());
  }
  return code;
}

}  // namespace

struct ScriptedPlatform::State {
  mutable std::mutex mutex;
  std::map<Step, StepScript> scripts;
  bool profile_engine = true;
  bool language_engine = true;
  std::optional<std::wstring> text = L"scripted text";
  std::vector<std::string> calls;
  std::wstring path;
  std::vector<std::thread::id> completion_threads;
  // Threads that end later operations; joined when the platform goes.
  std::vector<std::thread> completers;

  StepScript Take(Step step, std::string call) {
    const std::lock_guard<std::mutex> lock(mutex);
    calls.push_back(std::move(call));
    const auto found = scripts.find(step);
    return found == scripts.end() ? StepScript() : found->second;
  }
};

namespace {

// An operation that ends as its script says, with `result` on success.
template <typename TResult>
class ScriptedOperation final : public RuntimeObject<IAsyncOperation<TResult>, IAsyncInfo> {
 public:
  using Abi = typename IAsyncOperation<TResult>::TResult_abi;
  using Handler = IAsyncOperationCompletedHandler<TResult>;

  ScriptedOperation(std::shared_ptr<ScriptedPlatform::State> state,
                    StepScript script,
                    ComPtr<std::remove_pointer_t<Abi>> result)
      : state_(std::move(state)), script_(std::move(script)), result_(std::move(result)) {
    if (!script_.completes_later) {
      status_ = FinalStatus();
    }
  }

  HRESULT STDMETHODCALLTYPE put_Completed(Handler* handler) override {
    if (status_ != AsyncStatus::Started) {
      handler->Invoke(this, status_);
      return S_OK;
    }
    const ComPtr<Handler> kept(handler);
    const ComPtr<ScriptedOperation> self(this);
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->completers.emplace_back([this, self, kept] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      status_ = FinalStatus();
      {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        state_->completion_threads.push_back(std::this_thread::get_id());
      }
      kept->Invoke(this, status_);
    });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Completed(Handler**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetResults(Abi* results) override {
    *results = nullptr;
    switch (status_.load()) {
      case AsyncStatus::Completed:
        if (result_) {
          result_->AddRef();
        }
        *results = result_.Get();
        return S_OK;
      case AsyncStatus::Error:
        return Fail(script_, script_.operation_result);
      default:
        return kIllegalMethodCall;
    }
  }

  HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override {
    *id = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
    *status = status_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* code) override {
    *code = status_ == AsyncStatus::Error ? script_.operation_result : S_OK;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Cancel() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

 private:
  AsyncStatus FinalStatus() const {
    if (script_.cancelled) {
      return AsyncStatus::Canceled;
    }
    return FAILED(script_.operation_result) ? AsyncStatus::Error : AsyncStatus::Completed;
  }

  std::shared_ptr<ScriptedPlatform::State> state_;
  StepScript script_;
  ComPtr<std::remove_pointer_t<Abi>> result_;
  std::atomic<AsyncStatus> status_{AsyncStatus::Started};
};

// Starts the step's operation with `result`, or fails the call itself.
template <typename TResult>
HRESULT StartStep(
    const std::shared_ptr<ScriptedPlatform::State>& state,
    const StepScript& script,
    ComPtr<std::remove_pointer_t<typename IAsyncOperation<TResult>::TResult_abi>> result,
    IAsyncOperation<TResult>** operation) {
  *operation = nullptr;
  if (FAILED(script.call_result)) {
    return Fail(script, script.call_result);
  }
  ComPtr<IAsyncOperation<TResult>> started(
      new ScriptedOperation<TResult>(state, script, std::move(result)));
  *operation = started.Get();
  (*operation)->AddRef();
  return S_OK;
}

// The base of the scripted objects: they share the platform's state.
class Scripted {
 public:
  explicit Scripted(std::shared_ptr<ScriptedPlatform::State> state) : state_(std::move(state)) {}

 protected:
  std::shared_ptr<ScriptedPlatform::State> state_;
};

class ScriptedBitmap final : public RuntimeObject<ISoftwareBitmap> {
 public:
  HRESULT STDMETHODCALLTYPE get_BitmapPixelFormat(BitmapPixelFormat* value) override {
    *value = BitmapPixelFormat::BitmapPixelFormat_Gray8;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BitmapAlphaMode(BitmapAlphaMode* value) override {
    *value = BitmapAlphaMode::BitmapAlphaMode_Ignore;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_PixelWidth(INT32* value) override {
    *value = 8;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_PixelHeight(INT32* value) override {
    *value = 8;
    return S_OK;
  }
};

class ScriptedDecoder final : public RuntimeObject<IBitmapDecoder, IBitmapFrameWithSoftwareBitmap>,
                              Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE get_BitmapContainerProperties(IInspectable**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_DecoderInformation(IInspectable**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FrameCount(UINT32* value) override {
    *value = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE
  GetSoftwareBitmapAsync(IAsyncOperation<SoftwareBitmap*>** operation) override {
    const StepScript script = state_->Take(Step::kGetBitmap, "GetSoftwareBitmapAsync");
    return StartStep<SoftwareBitmap*>(state_, script, ComPtr<ISoftwareBitmap>(new ScriptedBitmap()),
                                      operation);
  }
};

class ScriptedDecoderStatics final : public RuntimeObject<IBitmapDecoderStatics>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE get_BmpDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_JpegDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_PngDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TiffDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_GifDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_JpegXRDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_IcoDecoderId(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDecoderInformationEnumerator(IInspectable**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateAsync(IRandomAccessStream* stream,
                                        IAsyncOperation<BitmapDecoder*>** operation) override {
    const StepScript script =
        state_->Take(Step::kCreateDecoder, stream == nullptr ? "CreateAsync(null)" : "CreateAsync");
    return StartStep<BitmapDecoder*>(
        state_, script, ComPtr<IBitmapDecoder>(new ScriptedDecoder(state_)), operation);
  }
};

class ScriptedStream final : public RuntimeObject<IRandomAccessStream> {
 public:
  HRESULT STDMETHODCALLTYPE get_Size(UINT64*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Size(UINT64) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputStreamAt(UINT64, IInputStream**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputStreamAt(UINT64, IOutputStream**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Position(UINT64*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Seek(UINT64) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CloneStream(IRandomAccessStream**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_CanRead(boolean*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_CanWrite(boolean*) override { return E_NOTIMPL; }
};

class ScriptedFile final : public RuntimeObject<IStorageFile>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE get_FileType(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ContentType(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OpenAsync(FileAccessMode mode,
                                      IAsyncOperation<IRandomAccessStream*>** operation) override {
    const StepScript script =
        state_->Take(Step::kOpen, "OpenAsync(" + std::to_string(static_cast<int>(mode)) + ")");
    return StartStep<IRandomAccessStream*>(
        state_, script, ComPtr<IRandomAccessStream>(new ScriptedStream()), operation);
  }
};

class ScriptedFileStatics final : public RuntimeObject<IStorageFileStatics>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE
  GetFileFromPathAsync(HSTRING path, IAsyncOperation<StorageFile*>** operation) override {
    {
      const std::lock_guard<std::mutex> lock(state_->mutex);
      UINT32 length = 0;
      const wchar_t* units = WindowsGetStringRawBuffer(path, &length);
      state_->path.assign(units, length);
    }
    const StepScript script = state_->Take(Step::kGetFile, "GetFileFromPathAsync");
    return StartStep<StorageFile*>(state_, script, ComPtr<IStorageFile>(new ScriptedFile(state_)),
                                   operation);
  }
};

class ScriptedResult final : public RuntimeObject<IOcrResult>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE get_Lines(IInspectable**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TextAngle(IInspectable**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) override {
    *value = nullptr;
    const StepScript script = state_->Take(Step::kGetText, "get_Text");
    if (FAILED(script.call_result)) {
      return Fail(script, script.call_result);
    }
    std::optional<std::wstring> text;
    {
      const std::lock_guard<std::mutex> lock(state_->mutex);
      text = state_->text;
    }
    if (!text.has_value()) {
      return S_OK;
    }
    return WindowsCreateString(text->c_str(), static_cast<UINT32>(text->size()), value);
  }
};

class ScriptedEngine final : public RuntimeObject<IOcrEngine>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE RecognizeAsync(ISoftwareBitmap* bitmap,
                                           IAsyncOperation<OcrResult*>** operation) override {
    const StepScript script = state_->Take(
        Step::kRecognize, bitmap == nullptr ? "RecognizeAsync(null)" : "RecognizeAsync");
    return StartStep<OcrResult*>(state_, script, ComPtr<IOcrResult>(new ScriptedResult(state_)),
                                 operation);
  }
  HRESULT STDMETHODCALLTYPE get_RecognizerLanguage(ILanguage**) override { return E_NOTIMPL; }
};

class ScriptedLanguage final : public RuntimeObject<ILanguage> {
 public:
  explicit ScriptedLanguage(std::wstring tag) : tag_(std::move(tag)) {}

  HRESULT STDMETHODCALLTYPE get_LanguageTag(HSTRING* value) override {
    return WindowsCreateString(tag_.c_str(), static_cast<UINT32>(tag_.size()), value);
  }
  HRESULT STDMETHODCALLTYPE get_DisplayName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_NativeName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Script(HSTRING*) override { return E_NOTIMPL; }

 private:
  std::wstring tag_;
};

class ScriptedLanguageFactory final : public RuntimeObject<ILanguageFactory>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE CreateLanguage(HSTRING tag, ILanguage** value) override {
    *value = nullptr;
    UINT32 length = 0;
    const wchar_t* units = WindowsGetStringRawBuffer(tag, &length);
    const std::wstring text(units, length);
    const StepScript script =
        state_->Take(Step::kCreateLanguage, "CreateLanguage(" + WideToUtf8(text) + ")");
    if (FAILED(script.call_result)) {
      return Fail(script, script.call_result);
    }
    *value = new ScriptedLanguage(text);
    (*value)->AddRef();
    return S_OK;
  }
};

class ScriptedEngineStatics final : public RuntimeObject<IOcrEngineStatics>, Scripted {
 public:
  using Scripted::Scripted;

  HRESULT STDMETHODCALLTYPE get_MaxImageDimension(UINT32* value) override {
    *value = 10000;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_AvailableRecognizerLanguages(IInspectable**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE IsLanguageSupported(ILanguage*, boolean*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TryCreateFromLanguage(ILanguage* language,
                                                  IOcrEngine** engine) override {
    UniqueHString tag;
    if (language != nullptr) {
      language->get_LanguageTag(tag.Put());
    }
    const StepScript script = state_->Take(Step::kLanguageEngine,
                                           "TryCreateFromLanguage(" + WideToUtf8(tag.View()) + ")");
    return CreateEngine(script, state_->language_engine, engine);
  }
  HRESULT STDMETHODCALLTYPE TryCreateFromUserProfileLanguages(IOcrEngine** engine) override {
    const StepScript script =
        state_->Take(Step::kProfileEngine, "TryCreateFromUserProfileLanguages");
    return CreateEngine(script, state_->profile_engine, engine);
  }

 private:
  HRESULT CreateEngine(const StepScript& script, bool exists, IOcrEngine** engine) {
    *engine = nullptr;
    if (FAILED(script.call_result)) {
      return Fail(script, script.call_result);
    }
    if (exists) {
      *engine = new ScriptedEngine(state_);
      (*engine)->AddRef();
    }
    return S_OK;
  }
};

}  // namespace

ScriptedPlatform::ScriptedPlatform() : state_(std::make_shared<State>()) {
  SetScriptedFactory(RuntimeClass_Windows_Storage_StorageFile, new ScriptedFileStatics(state_));
  SetScriptedFactory(RuntimeClass_Windows_Graphics_Imaging_BitmapDecoder,
                     new ScriptedDecoderStatics(state_));
  SetScriptedFactory(RuntimeClass_Windows_Media_Ocr_OcrEngine, new ScriptedEngineStatics(state_));
  SetScriptedFactory(RuntimeClass_Windows_Globalization_Language,
                     new ScriptedLanguageFactory(state_));
}

ScriptedPlatform::~ScriptedPlatform() {
  for (const wchar_t* class_id :
       {RuntimeClass_Windows_Storage_StorageFile,
        RuntimeClass_Windows_Graphics_Imaging_BitmapDecoder,
        RuntimeClass_Windows_Media_Ocr_OcrEngine, RuntimeClass_Windows_Globalization_Language}) {
    SetScriptedFactory(class_id, nullptr);
  }
  std::vector<std::thread> completers;
  {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    completers.swap(state_->completers);
  }
  for (std::thread& completer : completers) {
    completer.join();
  }
}

void ScriptedPlatform::Script(Step step, StepScript script) {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  state_->scripts[step] = std::move(script);
}

void ScriptedPlatform::set_profile_engine(bool exists) {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  state_->profile_engine = exists;
}

void ScriptedPlatform::set_language_engine(bool exists) {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  state_->language_engine = exists;
}

void ScriptedPlatform::set_text(std::optional<std::wstring> text) {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  state_->text = std::move(text);
}

std::vector<std::string> ScriptedPlatform::calls() const {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->calls;
}

std::wstring ScriptedPlatform::path() const {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->path;
}

std::vector<std::thread::id> ScriptedPlatform::completion_threads() const {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->completion_threads;
}
