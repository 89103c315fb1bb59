// Activation of runtime classes (combase), and its test control.

#include <roapi.h>
#include <winrt_activation_control.h>

#include <cwchar>
#include <new>

#include "platform/winrt/activation_factory_registry.h"
#include "platform/winrt/runtime/scoped_hstring.h"

using winrt_layer::ActivationFactoryRegistry;

extern "C" HRESULT WINAPI RoGetActivationFactory(HSTRING class_id, REFIID iid, void** factory) {
  if (factory == nullptr) {
    return E_INVALIDARG;
  }
  *factory = nullptr;
  if (class_id == nullptr) {
    return E_INVALIDARG;
  }
  try {
    return ActivationFactoryRegistry::Get().GetFactory(winrt_layer::ScopedHString::View(class_id),
                                                       iid, factory);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

extern "C" HRESULT WINAPI WinrtSetActivationFactory(PCWSTR class_id, IInspectable* factory) {
  if (class_id == nullptr || *class_id == 0) {
    return E_INVALIDARG;
  }
  try {
    ActivationFactoryRegistry::Get().SetFactory(class_id,
                                                winrt_layer::ComPtr<IInspectable>(factory));
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
