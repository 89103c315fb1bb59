#include "platform/engine/app_library.h"

#include "platform/engine/start_failure.h"

namespace norvalis_engine {

std::unique_ptr<AppLibrary> AppLibrary::Load(const std::wstring& path) {
  const HMODULE module = path.empty() ? nullptr : LoadLibraryW(path.c_str());
  if (module == nullptr) {
    ReportStartFailure(kAppCodeNotLoaded, path);
    return nullptr;
  }
  const FARPROC procedure = GetProcAddress(module, NORVALIS_APP_MAIN_NAME);
  if (procedure == nullptr) {
    FreeLibrary(module);
    ReportStartFailure(kAppMainMissing, path);
    return nullptr;
  }
  // Through the generic function type, which converts to every other.
  const auto main =
      reinterpret_cast<NorvalisAppMainFunction>(reinterpret_cast<void (*)()>(procedure));
  return std::unique_ptr<AppLibrary>(new AppLibrary(module, main));
}

AppLibrary::~AppLibrary() {
  FreeLibrary(module_);
}

}  // namespace norvalis_engine
