#include <errhandlingapi.h>

namespace {

thread_local DWORD last_error = 0;

}  // namespace

extern "C" DWORD WINAPI GetLastError(void) {
  return last_error;
}

extern "C" void WINAPI SetLastError(DWORD error) {
  last_error = error;
}
