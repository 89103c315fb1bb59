#ifndef PLATFORM_WIN32_MODULE_RESOURCES_H_
#define PLATFORM_WIN32_MODULE_RESOURCES_H_

#include <windef.h>

namespace win32 {

enum class ResourceKind { kIcon, kCursor };

// The resources a loaded module declares. Off Windows a module declares
// resource N of a kind by exporting an extern "C" object named
// win32_icon_resource_N or win32_cursor_resource_N (see winuser.h).
class ModuleResources {
 public:
  // The loaded module that `instance` designates, given either as the handle
  // dlopen returns for it or as its base address; null when none does. The
  // result identifies the module for as long as it stays loaded.
  static const void* Resolve(HINSTANCE instance);

  // Whether `module` (from Resolve) itself exports the symbol of resource
  // `id` of `kind`; a symbol found in another module does not count.
  static bool Declares(const void* module, ResourceKind kind, WORD id);
};

}  // namespace win32

#endif  // PLATFORM_WIN32_MODULE_RESOURCES_H_
