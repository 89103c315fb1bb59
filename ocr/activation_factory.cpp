#include "ocr/activation_factory.h"

#include <objidl.h>
#include <roapi.h>
#include <winstring.h>

#include <atomic>
#include <cwchar>
#include <map>
#include <mutex>
#include <string>

#include "ocr/unique_hstring.h"

namespace {

// The agile factories found so far, by class name.
class AgileFactoryCache {
 public:
  ComPtr<IUnknown> Find(const std::wstring& class_id) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = factories_.find(class_id);
    return found == factories_.end() ? ComPtr<IUnknown>() : found->second;
  }

  // The first factory kept for a class stays; a later one is not kept.
  void Keep(const std::wstring& class_id, const ComPtr<IUnknown>& factory) {
    const std::lock_guard<std::mutex> lock(mutex_);
    factories_.emplace(class_id, factory);
  }

 private:
  std::mutex mutex_;
  std::map<std::wstring, ComPtr<IUnknown>> factories_;
};

std::atomic<ActivationFactoryLookup> current_lookup{nullptr};

// Never destroyed: factories stay until the process exits, and releasing
// them while the process tears the runtime down would race with it.
AgileFactoryCache& Cache() {
  static AgileFactoryCache* const cache = new AgileFactoryCache();
  return *cache;
}

}  // namespace

ComPtr<IUnknown> GetActivationFactory(const wchar_t* class_id, REFIID iid) {
  const std::wstring name(class_id);
  if (ComPtr<IUnknown> cached = Cache().Find(name)) {
    return cached;
  }

  UniqueHString class_string;
  ThrowIfFailed(
      WindowsCreateString(name.c_str(), static_cast<UINT32>(name.size()), class_string.Put()));
  const ActivationFactoryLookup lookup = current_lookup.load();
  ComPtr<IUnknown> factory;
  ThrowIfFailed((lookup != nullptr ? lookup : RoGetActivationFactory)(
      class_string.Get(), iid, reinterpret_cast<void**>(factory.Put())));

  ComPtr<IAgileObject> agile;
  if (SUCCEEDED(factory.As(&agile))) {
    Cache().Keep(name, factory);
  }
  return factory;
}

ActivationFactoryLookup SetActivationFactoryLookup(ActivationFactoryLookup lookup) {
  return current_lookup.exchange(lookup);
}
