#include "ocr/scripted_activation.h"

#include <roapi.h>
#include <winstring.h>

#include <map>
#include <mutex>
#include <string>

#include "ocr/activation_factory.h"
#include "ocr/com_ptr.h"

namespace {

class ScriptedFactories {
 public:
  void Set(const wchar_t* class_id, IInspectable* factory) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (factory == nullptr) {
      factories_.erase(class_id);
    } else {
      factories_[class_id] = ComPtr<IInspectable>(factory);
    }
  }

  ComPtr<IInspectable> Find(const wchar_t* class_id) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = factories_.find(class_id);
    return found == factories_.end() ? ComPtr<IInspectable>() : found->second;
  }

 private:
  std::mutex mutex_;
  std::map<std::wstring, ComPtr<IInspectable>> factories_;
};

// Never destroyed: a worker that outlives a test may still look up.
ScriptedFactories& Factories() {
  static ScriptedFactories* const factories = new ScriptedFactories();
  return *factories;
}

HRESULT WINAPI LookUp(HSTRING class_id, REFIID iid, void** factory) {
  const ComPtr<IInspectable> scripted =
      Factories().Find(WindowsGetStringRawBuffer(class_id, nullptr));
  if (!scripted) {
    return RoGetActivationFactory(class_id, iid, factory);
  }
  return scripted.Get()->QueryInterface(iid, factory);
}

}  // namespace

void SetScriptedFactory(const wchar_t* class_id, IInspectable* factory) {
  static const bool installed = (SetActivationFactoryLookup(LookUp), true);
  (void)installed;
  Factories().Set(class_id, factory);
}
