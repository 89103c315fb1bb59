// An application library without NorvalisAppMain: the engine must refuse to
// start it.

#include "platform/engine/app_api.h"

extern "C" NORVALIS_APP_EXPORT int NorvalisAppVersion() {
  return 1;
}
