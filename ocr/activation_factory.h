#ifndef OCR_ACTIVATION_FACTORY_H_
#define OCR_ACTIVATION_FACTORY_H_

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

#endif  // OCR_ACTIVATION_FACTORY_H_
