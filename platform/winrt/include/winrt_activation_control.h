#ifndef PLATFORM_WINRT_INCLUDE_WINRT_ACTIVATION_CONTROL_H_
#define PLATFORM_WINRT_INCLUDE_WINRT_ACTIVATION_CONTROL_H_

// Tests only: replaces the activation factory of a runtime class, so that a
// test can script a class the program activates. Off Windows only.

#include <inspectable.h>
#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

// From now on RoGetActivationFactory for the class named `class_id` (any
// name, built in or not) asks `factory` for the interface requested; the
// runtime keeps a reference to `factory` until it is replaced. A null
// `factory` restores the built-in factory, or none. E_INVALIDARG for a null
// or empty `class_id`. May be called from any thread.
HRESULT WINAPI WinrtSetActivationFactory(PCWSTR class_id, IInspectable* factory);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WINRT_INCLUDE_WINRT_ACTIVATION_CONTROL_H_
