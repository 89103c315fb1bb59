#ifndef PLATFORM_ENGINE_APP_LIBRARY_H_
#define PLATFORM_ENGINE_APP_LIBRARY_H_

#include <windows.h>

#include <memory>
#include <string>

#include "platform/engine/app_api.h"

namespace norvalis_engine {

inline constexpr char kAppCodeNotLoaded[] = "flutter_windows: cannot load the application code: ";
inline constexpr char kAppMainMissing[] =
    "flutter_windows: the application code does not export " NORVALIS_APP_MAIN_NAME ": ";

// The application code (app.so), loaded, with its entry point.
class AppLibrary {
 public:
  // Null, after one line on standard error, when the file does not load or
  // does not export the entry point.
  static std::unique_ptr<AppLibrary> Load(const std::wstring& path);

  AppLibrary(const AppLibrary&) = delete;
  AppLibrary& operator=(const AppLibrary&) = delete;
  // Unloads the code: nothing of it may run any more.
  ~AppLibrary();

  NorvalisAppMainFunction main() const { return main_; }

 private:
  AppLibrary(HMODULE module, NorvalisAppMainFunction main) : module_(module), main_(main) {}

  HMODULE module_;
  NorvalisAppMainFunction main_;
};

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_APP_LIBRARY_H_
