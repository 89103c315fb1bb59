#ifndef PLATFORM_WINRT_ACTIVATION_FACTORY_REGISTRY_H_
#define PLATFORM_WINRT_ACTIVATION_FACTORY_REGISTRY_H_

#include <inspectable.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/winrt/runtime/com_ptr.h"

namespace winrt_layer {

// The activation factories by class name: the built-in classes, and those a
// test has put in their place. Safe to use from any thread.
class ActivationFactoryRegistry {
 public:
  // The one registry of the process.
  static ActivationFactoryRegistry& Get();

  // The factory of `class_id` as the interface `iid`, with a reference for
  // the caller; REGDB_E_CLASSNOTREG or E_NOINTERFACE.
  HRESULT GetFactory(std::wstring_view class_id, REFIID iid, void** factory);

  // Puts `factory` in place of the class's built-in factory; null restores
  // the built-in one.
  void SetFactory(std::wstring_view class_id, ComPtr<IInspectable> factory);

 private:
  ActivationFactoryRegistry() = default;

  std::mutex mutex_;
  std::map<std::wstring, ComPtr<IInspectable>, std::less<>> replacements_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_ACTIVATION_FACTORY_REGISTRY_H_
