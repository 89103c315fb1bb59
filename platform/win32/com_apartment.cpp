#include <objbase.h>
#include <winerror.h>

namespace {

// The calling thread's apartment: how many successful CoInitializeEx calls
// it has not yet balanced, and their model.
struct Apartment {
  int count = 0;
  bool single_threaded = false;
};

thread_local Apartment apartment;

constexpr DWORD kKnownFlags =
    COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE | COINIT_SPEED_OVER_MEMORY;

}  // namespace

extern "C" HRESULT WINAPI CoInitializeEx(LPVOID reserved, DWORD co_init) {
  if (reserved != nullptr || (co_init & ~kKnownFlags) != 0) {
    return E_INVALIDARG;
  }
  bool single_threaded = (co_init & COINIT_APARTMENTTHREADED) != 0;
  if (apartment.count == 0) {
    apartment.single_threaded = single_threaded;
    apartment.count = 1;
    return S_OK;
  }
  if (apartment.single_threaded != single_threaded) {
    return RPC_E_CHANGED_MODE;
  }
  ++apartment.count;
  return S_FALSE;
}

extern "C" void WINAPI CoUninitialize(void) {
  if (apartment.count > 0) {
    --apartment.count;
  }
}
