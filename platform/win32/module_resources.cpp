#include "platform/win32/module_resources.h"

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>

namespace win32 {
namespace {

struct LoadedObject {
  std::string name;
  bool main_program = false;
  ElfW(Addr) bias = 0;
  ElfW(Addr) lowest_segment = 0;
};

int CollectObject(dl_phdr_info* info, size_t, void* data) {
  auto* objects = static_cast<std::vector<LoadedObject>*>(data);
  LoadedObject object;
  object.name = info->dlpi_name != nullptr ? info->dlpi_name : "";
  object.main_program = objects->empty();
  object.bias = info->dlpi_addr;
  object.lowest_segment = 0;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    if (info->dlpi_phdr[i].p_type == PT_LOAD) {
      const ElfW(Addr) start = info->dlpi_addr + info->dlpi_phdr[i].p_vaddr;
      if (object.lowest_segment == 0 || start < object.lowest_segment) {
        object.lowest_segment = start;
      }
    }
  }
  objects->push_back(std::move(object));
  return 0;
}

// Opens an already loaded object again without loading anything.
void* Reopen(const LoadedObject& object) {
  return dlopen(object.main_program ? nullptr : object.name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
}

const char* Prefix(ResourceKind kind) {
  return kind == ResourceKind::kIcon ? "win32_icon_resource_" : "win32_cursor_resource_";
}

}  // namespace

const void* ModuleResources::Resolve(HINSTANCE instance) {
  if (instance == nullptr) {
    return nullptr;
  }
  // The loader's lock is held during the walk, so dlopen waits until after.
  std::vector<LoadedObject> objects;
  dl_iterate_phdr(CollectObject, &objects);
  const auto address = reinterpret_cast<ElfW(Addr)>(instance);
  for (const LoadedObject& object : objects) {
    void* handle = Reopen(object);
    if (handle == nullptr) {
      continue;
    }
    link_map* map = nullptr;
    const bool known = dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0;
    const bool matches =
        handle == static_cast<void*>(instance) ||
        (address != 0 && (address == object.bias || address == object.lowest_segment));
    dlclose(handle);
    if (known && matches) {
      return map;
    }
  }
  return nullptr;
}

bool ModuleResources::Declares(const void* module, ResourceKind kind, WORD id) {
  const auto* map = static_cast<const link_map*>(module);
  const bool main_program = map->l_prev == nullptr;
  void* handle = dlopen(main_program ? nullptr : map->l_name, RTLD_LAZY | RTLD_NOLOAD);
  if (handle == nullptr) {
    return false;
  }
  const std::string symbol = Prefix(kind) + std::to_string(id);
  void* address = dlsym(handle, symbol.c_str());
  bool declared = false;
  if (address != nullptr) {
    Dl_info info;
    link_map* owner = nullptr;
    declared = dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) != 0 &&
               owner == map;
  }
  dlclose(handle);
  return declared;
}

}  // namespace win32
