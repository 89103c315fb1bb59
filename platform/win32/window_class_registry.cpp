#include "platform/win32/window_class_registry.h"

#include <errhandlingapi.h>
#include <winerror.h>

#include <algorithm>

#include "platform/win32/case_folding.h"

namespace win32 {

ATOM WindowClassRegistry::Register(const WNDCLASSW& description) {
  if (description.lpszClassName == nullptr || IS_INTRESOURCE(description.lpszClassName) ||
      description.lpszClassName[0] == 0 || description.lpfnWndProc == nullptr ||
      description.cbClsExtra < 0 || description.cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (Find(description.lpszClassName) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  // Atoms of unregistered classes are free again, as in the atom table.
  ATOM atom = kFirstAtom;
  while (std::any_of(classes_.begin(), classes_.end(),
                     [atom](const auto& entry) { return entry->atom == atom; })) {
    if (atom == 0xFFFF) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    ++atom;
  }
  auto window_class = std::make_unique<WindowClass>();
  window_class->atom = atom;
  window_class->name = description.lpszClassName;
  window_class->style = description.style;
  window_class->procedure = description.lpfnWndProc;
  window_class->window_extra_bytes = description.cbWndExtra;
  window_class->instance = description.hInstance;
  window_class->icon = description.hIcon;
  window_class->cursor = description.hCursor;
  window_class->background = description.hbrBackground;
  classes_.push_back(std::move(window_class));
  return atom;
}

bool WindowClassRegistry::Unregister(LPCWSTR name_or_atom) {
  WindowClass* window_class = Find(name_or_atom);
  if (window_class == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  if (window_class->window_count > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return false;
  }
  std::erase_if(classes_,
                [window_class](const auto& entry) { return entry.get() == window_class; });
  return true;
}

WindowClass* WindowClassRegistry::Find(LPCWSTR name_or_atom) const {
  if (name_or_atom == nullptr) {
    return nullptr;
  }
  for (const auto& window_class : classes_) {
    const bool matches =
        IS_INTRESOURCE(name_or_atom)
            ? window_class->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name_or_atom))
            : EqualsIgnoringCase(window_class->name, name_or_atom);
    if (matches) {
      return window_class.get();
    }
  }
  return nullptr;
}

void WindowClassRegistry::Clear() {
  classes_.clear();
}

}  // namespace win32
