// user32's icon and cursor loading.

#include <errhandlingapi.h>
#include <winerror.h>
#include <winuser.h>

#include "platform/win32/desktop.h"
#include "platform/win32/module_resources.h"

namespace win32 {
namespace {

// System icons and cursors (loaded with a null instance) have ids from 32512.
bool IsSystemIcon(WORD id) {
  return id >= 32512 && id <= 32518;
}

bool IsSystemCursor(WORD id) {
  return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651);
}

HANDLE LoadResource(HINSTANCE instance, LPCWSTR name, ResourceKind kind) {
  if (!IS_INTRESOURCE(name)) {
    // Named resources have no counterpart off Windows.
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
  const void* module = nullptr;
  if (instance == nullptr) {
    if (kind == ResourceKind::kIcon ? !IsSystemIcon(id) : !IsSystemCursor(id)) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
  } else {
    module = ModuleResources::Resolve(instance);
    if (module == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    if (!ModuleResources::Declares(module, kind, id)) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
  }
  auto lock = Desktop::Get().Lock();
  return Desktop::Get().ResourceHandle(module, static_cast<int>(kind), id);
}

}  // namespace
}  // namespace win32

extern "C" HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HICON>(win32::LoadResource(instance, name, win32::ResourceKind::kIcon));
}

extern "C" HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HCURSOR>(win32::LoadResource(instance, name, win32::ResourceKind::kCursor));
}
