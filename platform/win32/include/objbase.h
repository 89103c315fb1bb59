#ifndef PLATFORM_WIN32_INCLUDE_OBJBASE_H_
#define PLATFORM_WIN32_INCLUDE_OBJBASE_H_

// COM apartments, tracked per thread.

#include "windef.h"
#include "winerror.h"

typedef enum tagCOINIT {
  COINIT_MULTITHREADED = 0x0,
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8,
} COINIT;

#ifdef __cplusplus
extern "C" {
#endif

// Enters the calling thread into a single-threaded (COINIT_APARTMENTTHREADED)
// or the multithreaded apartment. S_OK for the first call on the thread,
// S_FALSE for a repeat with the same model (it is counted and needs its own
// CoUninitialize), RPC_E_CHANGED_MODE for the other model (not counted),
// E_INVALIDARG for a reserved pointer or unknown flags.
HRESULT WINAPI CoInitializeEx(LPVOID reserved, DWORD co_init);

// Balances one successful CoInitializeEx of the calling thread; the thread
// leaves its apartment with the last one. Without an apartment it does
// nothing.
void WINAPI CoUninitialize(void);

#ifdef __cplusplus
}
#endif

#endif  // PLATFORM_WIN32_INCLUDE_OBJBASE_H_
