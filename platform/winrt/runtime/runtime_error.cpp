#include "platform/winrt/runtime/runtime_error.h"

#include <roerrorapi.h>
#include <winbase.h>
#include <winstring.h>

#include <new>

#include "platform/winrt/runtime/scoped_hstring.h"

namespace winrt_layer {

std::wstring SystemMessage(HRESULT code) {
  LPWSTR text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  if (length == 0) {
    return std::wstring();
  }
  std::wstring message(text, length);
  LocalFree(text);
  return message;
}

HRESULT OriginateError(const RuntimeError& error) noexcept {
  return OriginateError(error.code, error.description);
}

HRESULT OriginateError(HRESULT code, std::wstring_view description) noexcept {
  try {
    std::wstring system_message;
    if (description.empty()) {
      system_message = SystemMessage(code);
      description = system_message;
    }
    HRESULT created = S_OK;
    ScopedHString message = ScopedHString::Create(description, &created);
    if (SUCCEEDED(created)) {
      RoOriginateError(code, message.Get());
    }
  } catch (const std::bad_alloc&) {
    // The code is the caller's result; only its details are lost.
  }
  return code;
}

HRESULT ResultFromCaughtException() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace winrt_layer
