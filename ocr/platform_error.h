#ifndef OCR_PLATFORM_ERROR_H_
#define OCR_PLATFORM_ERROR_H_

#include <restrictederrorinfo.h>
#include <windows.h>

#include <string>

#include "ocr/com_ptr.h"

// What the application is shown in place of the platform's text when a
// platform call runs out of memory.
inline constexpr char kBadAllocationMessage[] = "bad allocation";

// A failure code from a platform call, with the restricted error details
// that the call recorded for the calling thread, if any.
class PlatformError {
 public:
  // Takes the calling thread's restricted error details, so construct it
  // on the thread of the failed call, right after it.
  explicit PlatformError(HRESULT code);

  HRESULT code() const { return code_; }

  // The text for the application: the restricted description recorded for
  // this code (or the plain one when there is no restricted one), else the
  // system's message for the code; trailing white space removed. Empty when
  // neither gives a text.
  std::wstring Message() const;

 private:
  HRESULT code_;
  ComPtr<IRestrictedErrorInfo> details_;
};

// Raises the failure for `code`: a MessageFailure with kBadAllocationMessage
// for E_OUTOFMEMORY, else a PlatformError.
[[noreturn]] void ThrowPlatformError(HRESULT code);

inline void ThrowIfFailed(HRESULT code) {
  if (FAILED(code)) {
    ThrowPlatformError(code);
  }
}

#endif  // OCR_PLATFORM_ERROR_H_
