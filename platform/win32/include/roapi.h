#ifndef PLATFORM_WIN32_INCLUDE_ROAPI_H_
#define PLATFORM_WIN32_INCLUDE_ROAPI_H_

// Activation of Windows Runtime classes (combase on Windows; the winrt
// library here).

#include "hstring.h"
#include "inspectable.h"

#ifdef __cplusplus
extern "C" {
#endif

// The activation factory of the class named `class_id`, as the interface
// `iid`, with a reference for the caller. REGDB_E_CLASSNOTREG for a class
// that is not registered, E_NOINTERFACE when the factory lacks `iid`,
// E_INVALIDARG for a null name or `factory`.
HRESULT WINAPI RoGetActivationFactory(HSTRING class_id, REFIID iid, void** factory);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_ROAPI_H_
