#ifndef OCR_SCRIPTED_ACTIVATION_H_
#define OCR_SCRIPTED_ACTIVATION_H_

#include <inspectable.h>

// Tests only: from now on the pipeline's factory lookup answers for the
// runtime class `class_id` with `factory` (asked for the interface
// requested), on every Win32 alike; a null `factory` hands the class back
// to the system. Classes never scripted always go to the system. Keeps a
// reference to `factory` until it is replaced. Safe on any thread.
void SetScriptedFactory(const wchar_t* class_id, IInspectable* factory);

#endif  // OCR_SCRIPTED_ACTIVATION_H_
