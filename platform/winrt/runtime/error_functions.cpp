// The calling thread's restricted error details (combase).

#include <roerrorapi.h>

#include <new>
#include <string>

#include "platform/winrt/runtime/com_ptr.h"
#include "platform/winrt/runtime/restricted_error_info.h"
#include "platform/winrt/runtime/scoped_hstring.h"

namespace {

using winrt_layer::ComPtr;

// Windows keeps this much of a message, terminator included.
constexpr size_t kMaxMessageUnits = 512;

thread_local ComPtr<IRestrictedErrorInfo> recorded_error;

}  // namespace

extern "C" HRESULT WINAPI GetRestrictedErrorInfo(IRestrictedErrorInfo** info) {
  if (info == nullptr) {
    return E_POINTER;
  }
  *info = recorded_error.Detach();
  return *info == nullptr ? S_FALSE : S_OK;
}

extern "C" HRESULT WINAPI SetRestrictedErrorInfo(IRestrictedErrorInfo* info) {
  recorded_error = ComPtr<IRestrictedErrorInfo>(info);
  return S_OK;
}

extern "C" BOOL WINAPI RoOriginateError(HRESULT error, HSTRING message) {
  if (SUCCEEDED(error)) {
    return FALSE;
  }
  try {
    std::wstring text;
    const std::wstring* restricted_description = nullptr;
    if (message != nullptr) {
      std::wstring_view units = winrt_layer::ScopedHString::View(message);
      text = units.substr(0, kMaxMessageUnits - 1);
      restricted_description = &text;
    }
    recorded_error =
        winrt_layer::MakeObject<winrt_layer::RestrictedErrorInfo>(error, restricted_description);
    return TRUE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
}
