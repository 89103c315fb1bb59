#ifndef PLATFORM_WINRT_RUNTIME_RUNTIME_ERROR_H_
#define PLATFORM_WINRT_RUNTIME_RUNTIME_ERROR_H_

#include <windef.h>

#include <string>
#include <string_view>

namespace winrt_layer {

// A failure of a runtime operation: its code and the description recorded
// with it for the caller. An empty description stands for the system
// message of the code.
struct RuntimeError {
  HRESULT code = S_OK;
  std::wstring description;
};

// The system message of `code` (FormatMessageW), "" when it has none.
std::wstring SystemMessage(HRESULT code);

// Records `error` for the calling thread, as RoOriginateError does, with its
// description or, when that is empty, the system message as the restricted
// description; without memory, nothing is recorded. Returns the code, so
// that a call can end with `return OriginateError(...)`.
HRESULT OriginateError(const RuntimeError& error) noexcept;
HRESULT OriginateError(HRESULT code, std::wstring_view description = {}) noexcept;

// The result of a method whose work raised the exception being handled:
// E_OUTOFMEMORY when memory ran out, E_UNEXPECTED for anything else. Call
// only from a catch block, so that no exception leaves a COM method.
HRESULT ResultFromCaughtException() noexcept;

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_RUNTIME_ERROR_H_
