#include "platform/winrt/runtime/restricted_error_info.h"

#include <oleauto.h>

#include "platform/winrt/runtime/runtime_error.h"

namespace winrt_layer {
namespace {

// Null for a null `text`; otherwise a BSTR copy, failing only without memory.
bool CopyToBstr(const std::wstring* text, BSTR* out) {
  *out = nullptr;
  if (text == nullptr) {
    return true;
  }
  *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
  return *out != nullptr;
}

}  // namespace

RestrictedErrorInfo::RestrictedErrorInfo(HRESULT error, const std::wstring* restricted_description)
    : error_(error),
      description_(SystemMessage(error)),
      has_restricted_description_(restricted_description != nullptr),
      restricted_description_(has_restricted_description_ ? *restricted_description
                                                          : std::wstring()) {}

IFACEMETHODIMP RestrictedErrorInfo::GetErrorDetails(BSTR* description,
                                                    HRESULT* error,
                                                    BSTR* restricted_description,
                                                    BSTR* capability_sid) {
  if (description == nullptr || error == nullptr || restricted_description == nullptr ||
      capability_sid == nullptr) {
    return E_POINTER;
  }
  *error = error_;
  *capability_sid = nullptr;
  *restricted_description = nullptr;
  const std::wstring* system_message = description_.empty() ? nullptr : &description_;
  if (!CopyToBstr(system_message, description) ||
      !CopyToBstr(has_restricted_description_ ? &restricted_description_ : nullptr,
                  restricted_description)) {
    SysFreeString(*description);
    *description = nullptr;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

IFACEMETHODIMP RestrictedErrorInfo::GetReference(BSTR* reference) {
  if (reference == nullptr) {
    return E_POINTER;
  }
  *reference = nullptr;
  return S_OK;
}

}  // namespace winrt_layer
