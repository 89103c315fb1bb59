#include "shell/startup_lock.h"

#include "codec/diagnostic.h"

StartupLock::StartupLock(const wchar_t* name, DWORD timeout_ms)
    : mutex_(CreateMutexW(nullptr, FALSE, name)) {
  if (mutex_ == nullptr) {
    return;
  }
  // An abandoned mutex is taken all the same: its holder ended without a
  // window, so this launch is the one to start.
  const DWORD result = WaitForSingleObject(mutex_.get(), timeout_ms);
  held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  // Going on without the lock would start beside the holder, which lives:
  // its window may yet come.
  gave_up_ = result == WAIT_TIMEOUT;
  if (gave_up_) {
    flutter::WriteDiagnosticLine(kGaveUpDiagnostic);
  }
}

StartupLock::~StartupLock() {
  Release();
}

void StartupLock::Release() {
  if (held_) {
    ReleaseMutex(mutex_.get());
    held_ = false;
  }
}
