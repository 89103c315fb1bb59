#ifndef OCR_ACTIVATION_FACTORY_H_
#define OCR_ACTIVATION_FACTORY_H_

#include <hstring.h>
#include <inspectable.h>

#include "ocr/com_ptr.h"
#include "ocr/platform_error.h"

// The activation factory of the runtime class `class_id` as an object that
// answers `iid`, with a reference for the caller. A factory that is agile
// (usable from any thread) is looked up once and kept for the rest of the
// process; any other is looked up at each call. Raises the platform error
// of a failed lookup. Safe on any thread.
ComPtr<IUnknown> GetActivationFactory(const wchar_t* class_id, REFIID iid);

// The factory of `class_id` as `Interface`.
template <typename Interface>
ComPtr<Interface> GetActivationFactory(const wchar_t* class_id) {
  const ComPtr<IUnknown> factory = GetActivationFactory(class_id, __uuidof(Interface));
  ComPtr<Interface> typed;
  ThrowIfFailed(factory.As(&typed));
  return typed;
}

// How GetActivationFactory finds a factory: RoGetActivationFactory, or what
// a test put in its place to script the runtime classes. A seam here, because
// neither Windows nor Wine lets a process redirect the activation of the
// system's classes short of registering a component for the whole machine.
using ActivationFactoryLookup = HRESULT(WINAPI*)(HSTRING class_id, REFIID iid, void** factory);

// Tests only: makes `lookup` the lookup of every later GetActivationFactory
// call (null restores RoGetActivationFactory) and returns the one it
// replaces. Agile factories already kept stay kept.
ActivationFactoryLookup SetActivationFactoryLookup(ActivationFactoryLookup lookup);

#endif  // OCR_ACTIVATION_FACTORY_H_
