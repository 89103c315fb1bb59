#include "shell/startup_lock.h"

StartupLock::StartupLock(const wchar_t* name, DWORD timeout_ms)
    : mutex_(CreateMutexW(nullptr, FALSE, name)) {
  if (mutex_ == nullptr) {
    return;
  }
  // An abandoned mutex is taken all the same: its holder ended without a
  // window, so this launch is the one to start.
  const DWORD result = WaitForSingleObject(mutex_.get(), timeout_ms);
  held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
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
