#ifndef SHELL_STARTUP_LOCK_H_
#define SHELL_STARTUP_LOCK_H_

#include <windows.h>

#include <memory>
#include <string_view>
#include <type_traits>

// Makes launches of the application in the user's session take turns from
// their probe for a running instance until the starting one's window exists,
// so that launches racing each other cannot all find no window and all
// start. It is a named mutex: when the holder ends without releasing it (it
// failed or crashed before its window existed), the next launch gets it and
// starts in its place. A launch never goes on without it while its holder
// lives: it waits, and past its bound it gives up.
class StartupLock {
 public:
  // The application's lock, per user session as the windows a launch looks
  // for are.
  static constexpr wchar_t kApplicationLockName[] = L"Local\\photos_norvalis.startup";

  static constexpr std::string_view kGaveUpDiagnostic =
      "photos_norvalis: another launch has been starting for too long; this launch gave up and "
      "handed nothing over.";

  // Waits at most `timeout_ms` for the mutex named `name`; when its holder
  // keeps it that long, writes kGaveUpDiagnostic on standard error and
  // gave_up() is true. When the mutex cannot be made at all, the launch goes
  // on without it, as a lone launch would.
  StartupLock(const wchar_t* name, DWORD timeout_ms);
  ~StartupLock();

  StartupLock(const StartupLock&) = delete;
  StartupLock& operator=(const StartupLock&) = delete;

  bool held() const { return held_; }
  bool gave_up() const { return gave_up_; }

  // Lets the next launch probe; called once this instance's window exists.
  void Release();

 private:
  struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
  };

  std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser> mutex_;
  bool held_ = false;
  bool gave_up_ = false;
};

#endif  // SHELL_STARTUP_LOCK_H_
