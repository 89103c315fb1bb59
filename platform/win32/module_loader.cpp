#include <dlfcn.h>
#include <errhandlingapi.h>
#include <link.h>
#include <stdlib.h>
#include <winbase.h>
#include <winerror.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/win32/executable_path.h"
#include "platform/win32/string_conversion.h"

namespace {

// The system libraries whose functions this layer supplies.
constexpr const char* kLayerModules[] = {"user32.dll",  "kernel32.dll", "advapi32.dll", "ole32.dll",
                                         "shell32.dll", "dwmapi.dll",   "shcore.dll"};

// Any object of this library; its address tells the loader which file the
// layer is.
const char kLayerAnchor = 0;

std::string ToLower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool EndsWithDll(const std::string& file) {
  return file.size() >= 4 && ToLower(file.substr(file.size() - 4)) == ".dll";
}

std::string LayerPath() {
  Dl_info info;
  if (dladdr(&kLayerAnchor, &info) == 0 || info.dli_fname == nullptr) {
    return std::string();
  }
  return info.dli_fname;
}

std::string ExecutableDirectory() {
  std::string path = win32::ExecutablePath();
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The files that stand for a Windows module name, in search order.
std::vector<std::string> CandidateFiles(std::string name) {
  std::replace(name.begin(), name.end(), '\\', '/');
  size_t slash = name.rfind('/');
  std::string directory = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
  // As on Windows, a name without an extension means a DLL, and a trailing
  // dot says that it has none.
  if (file.find('.') == std::string::npos) {
    file += ".dll";
  } else if (file.back() == '.') {
    file.pop_back();
  }

  if (directory.empty()) {
    for (const char* module : kLayerModules) {
      if (ToLower(file) == module) {
        return {LayerPath()};
      }
    }
  }

  std::vector<std::string> files;
  if (EndsWithDll(file)) {
    files.push_back("lib" + file.substr(0, file.size() - 4) + ".so");
  } else {
    files.push_back(file);
  }
  // Windows file names ignore letter case; ours do not, so the lower-case
  // spelling that libraries conventionally have is tried too.
  if (ToLower(files[0]) != files[0]) {
    files.push_back(ToLower(files[0]));
  }

  std::vector<std::string> candidates;
  if (!directory.empty()) {
    for (const std::string& each : files) {
      candidates.push_back(directory + each);
    }
    return candidates;
  }
  // The application's directory first, then the system's search, as the
  // Windows loader orders them.
  std::string executable_directory = ExecutableDirectory();
  for (const std::string& each : files) {
    candidates.push_back(executable_directory + each);
  }
  for (const std::string& each : files) {
    candidates.push_back(each);
  }
  return candidates;
}

void* OpenFirst(const std::vector<std::string>& candidates, int mode) {
  for (const std::string& candidate : candidates) {
    if (candidate.empty()) {
      continue;
    }
    if (void* handle = dlopen(candidate.c_str(), mode)) {
      return handle;
    }
  }
  return nullptr;
}

// The modules handed out: counted references from LoadLibrary, and modules
// found loaded by GetModuleHandleW. Only these handles reach the system
// loader, which does not survive an invalid one.
class Modules {
 public:
  void AddReference(void* handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++references_[handle];
  }

  // False if the handle holds no reference from LoadLibrary.
  bool DropReference(void* handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = references_.find(handle);
    if (found == references_.end()) {
      return false;
    }
    dlclose(handle);
    if (--found->second == 0) {
      references_.erase(found);
      // The system may have unloaded it; a handle from GetModuleHandleW is
      // found again when it is still loaded.
      resident_.erase(handle);
    }
    return true;
  }

  void AddResident(void* handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    resident_.insert(handle);
  }

  bool IsKnown(void* handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return references_.count(handle) == 1 || resident_.count(handle) == 1;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<void*, int> references_;
  std::unordered_set<void*> resident_;
};

Modules& LoadedModules() {
  static auto* modules = new Modules;
  return *modules;
}

void* ExecutableHandle() {
  return dlopen(nullptr, RTLD_NOW);
}

HMODULE Load(const std::string& name) {
  void* handle = OpenFirst(CandidateFiles(name), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  LoadedModules().AddReference(handle);
  return static_cast<HMODULE>(handle);
}

// The object (executable or library) that the handle names, or that holds
// the address.
link_map* ObjectOfHandle(void* handle) {
  link_map* map = nullptr;
  return dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 ? map : nullptr;
}

link_map* ObjectOfAddress(void* address) {
  Dl_info info;
  link_map* map = nullptr;
  if (dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) {
    return nullptr;
  }
  return map;
}

}  // namespace

extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR file_name) {
  if (file_name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Load(file_name);
}

extern "C" HMODULE WINAPI LoadLibraryW(LPCWSTR file_name) {
  if (file_name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Load(win32::WideToUtf8(file_name));
}

extern "C" FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procedure_name) {
  void* handle = module;
  if (handle == nullptr || (handle != ExecutableHandle() && !LoadedModules().IsKnown(handle))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // Values below 0x10000 are ordinals, which shared libraries do not have.
  if (reinterpret_cast<uintptr_t>(procedure_name) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* symbol = dlsym(handle, procedure_name);
  // The system search also looks through the module's dependencies; a
  // Windows module exports only its own functions.
  if (symbol == nullptr || ObjectOfAddress(symbol) != ObjectOfHandle(handle)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE module) {
  if (module == nullptr || !LoadedModules().DropReference(module)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

extern "C" HMODULE WINAPI GetModuleHandleW(LPCWSTR module_name) {
  if (module_name == nullptr) {
    return static_cast<HMODULE>(ExecutableHandle());
  }
  void* handle = OpenFirst(CandidateFiles(win32::WideToUtf8(module_name)), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // The module is loaded by someone else; this call takes no reference.
  dlclose(handle);
  LoadedModules().AddResident(handle);
  return static_cast<HMODULE>(handle);
}

extern "C" DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR file_name, DWORD size) {
  std::string path;
  if (module == nullptr || module == ExecutableHandle()) {
    path = win32::ExecutablePath();
  } else if (LoadedModules().IsKnown(module)) {
    link_map* object = ObjectOfHandle(module);
    // The loader keeps the name the library was opened by, which may be
    // relative; Windows reports the full path.
    if (object != nullptr && object->l_name != nullptr) {
      if (char* full = realpath(object->l_name, nullptr)) {
        path = full;
        free(full);
      }
    }
  }
  if (path.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::wstring wide = win32::Utf8ToWide(path);
  if (wide.size() >= size) {
    if (size > 0) {
      std::copy_n(wide.begin(), size - 1, file_name);
      file_name[size - 1] = 0;
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::copy(wide.begin(), wide.end(), file_name);
  file_name[wide.size()] = 0;
  return static_cast<DWORD>(wide.size());
}
