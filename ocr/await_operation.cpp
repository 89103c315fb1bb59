#include "ocr/await_operation.h"

UniqueHandle CreateCompletionEvent() {
  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!event) {
    ThrowPlatformError(HRESULT_FROM_WIN32(GetLastError()));
  }
  return event;
}
