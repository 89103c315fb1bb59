// Test application that lacks the entry point: the engine refuses it.

#include "platform/engine/app_api.h"

extern "C" NORVALIS_APP_EXPORT int NorvalisAppVersion() {
  return 1;
}
