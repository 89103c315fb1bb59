#ifndef PLATFORM_WINRT_RUNTIME_RESTRICTED_ERROR_INFO_H_
#define PLATFORM_WINRT_RUNTIME_RESTRICTED_ERROR_INFO_H_

#include <restrictederrorinfo.h>

#include <string>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// The details one failure recorded: its code, the system message as the
// description and the originator's text as the restricted description.
class RestrictedErrorInfo final : public ComClass<IRestrictedErrorInfo, IAgileObject> {
 public:
  // A null `restricted_description` is recorded as none.
  RestrictedErrorInfo(HRESULT error, const std::wstring* restricted_description);

  IFACEMETHODIMP GetErrorDetails(BSTR* description,
                                 HRESULT* error,
                                 BSTR* restricted_description,
                                 BSTR* capability_sid) override;
  // No reference object is recorded: null.
  IFACEMETHODIMP GetReference(BSTR* reference) override;

 private:
  const HRESULT error_;
  const std::wstring description_;
  const bool has_restricted_description_;
  const std::wstring restricted_description_;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_RESTRICTED_ERROR_INFO_H_
