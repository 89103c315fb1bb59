#include "platform/winrt/activation_factory_registry.h"

#include <winerror.h>

#include "platform/winrt/imaging/bitmap_decoder_statics.h"
#include "platform/winrt/recognition/language_factory.h"
#include "platform/winrt/recognition/ocr_engine_statics.h"
#include "platform/winrt/storage/storage_file_statics.h"

namespace winrt_layer {
namespace {

struct BuiltInClass {
  const wchar_t* name;
  ComPtr<IInspectable> (*create_factory)();
};

template <class Factory>
ComPtr<IInspectable> CreateFactory() {
  return MakeObject<Factory>();
}

// The factories are stateless, so each lookup makes its own.
constexpr BuiltInClass kBuiltInClasses[] = {
    {L"Windows.Storage.StorageFile", CreateFactory<StorageFileStatics>},
    {L"Windows.Graphics.Imaging.BitmapDecoder", CreateFactory<BitmapDecoderStatics>},
    {L"Windows.Media.Ocr.OcrEngine", CreateFactory<OcrEngineStatics>},
    {L"Windows.Globalization.Language", CreateFactory<LanguageFactory>},
};

ComPtr<IInspectable> CreateBuiltInFactory(std::wstring_view class_id) {
  for (const BuiltInClass& built_in : kBuiltInClasses) {
    if (class_id == built_in.name) {
      return built_in.create_factory();
    }
  }
  return nullptr;
}

}  // namespace

ActivationFactoryRegistry& ActivationFactoryRegistry::Get() {
  // Never destroyed: a factory may be asked for while the process exits.
  static auto* registry = new ActivationFactoryRegistry;
  return *registry;
}

HRESULT ActivationFactoryRegistry::GetFactory(std::wstring_view class_id,
                                              REFIID iid,
                                              void** factory) {
  *factory = nullptr;
  ComPtr<IInspectable> found;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto replacement = replacements_.find(class_id);
    if (replacement != replacements_.end()) {
      found = replacement->second;
    }
  }
  if (!found) {
    found = CreateBuiltInFactory(class_id);
  }
  if (!found) {
    return REGDB_E_CLASSNOTREG;
  }
  return found->QueryInterface(iid, factory);
}

void ActivationFactoryRegistry::SetFactory(std::wstring_view class_id,
                                           ComPtr<IInspectable> factory) {
  ComPtr<IInspectable> previous;
  std::lock_guard<std::mutex> lock(mutex_);
  auto replacement = replacements_.find(class_id);
  if (replacement != replacements_.end()) {
    previous = std::move(replacement->second);
    if (!factory) {
      replacements_.erase(replacement);
    } else {
      replacement->second = std::move(factory);
    }
  } else if (factory) {
    replacements_.emplace(std::wstring(class_id), std::move(factory));
  }
}

}  // namespace winrt_layer
