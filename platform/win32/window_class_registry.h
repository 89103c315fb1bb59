#ifndef PLATFORM_WIN32_WINDOW_CLASS_REGISTRY_H_
#define PLATFORM_WIN32_WINDOW_CLASS_REGISTRY_H_

#include <winuser.h>

#include <memory>
#include <string>
#include <vector>

namespace win32 {

struct WindowClass {
  ATOM atom = 0;
  std::wstring name;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  int window_extra_bytes = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  // Windows of this class that exist; a class with windows cannot be
  // unregistered.
  int window_count = 0;
};

// The process's window classes. Names compare case-insensitively and every
// class is visible to every module (Windows keeps application classes per
// module; here the host, engine and plugins use distinct names).
// Used under the desktop lock.
class WindowClassRegistry {
 public:
  // Returns the new class's atom, or 0 with the last error set
  // (ERROR_CLASS_ALREADY_EXISTS, ERROR_INVALID_PARAMETER).
  ATOM Register(const WNDCLASSW& description);

  // Fails with ERROR_CLASS_DOES_NOT_EXIST or ERROR_CLASS_HAS_WINDOWS.
  bool Unregister(LPCWSTR name_or_atom);

  // The class of that name or atom (MAKEINTATOM), or null. The pointer stays
  // valid while the class has windows.
  WindowClass* Find(LPCWSTR name_or_atom) const;

  void Clear();

 private:
  static constexpr ATOM kFirstAtom = 0xC000;

  std::vector<std::unique_ptr<WindowClass>> classes_;
};

}  // namespace win32

#endif  // PLATFORM_WIN32_WINDOW_CLASS_REGISTRY_H_
