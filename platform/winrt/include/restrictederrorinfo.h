#ifndef PLATFORM_WINRT_INCLUDE_RESTRICTEDERRORINFO_H_
#define PLATFORM_WINRT_INCLUDE_RESTRICTEDERRORINFO_H_

// IRestrictedErrorInfo: the details a failing Windows Runtime call records
// for its thread.

// MinGW's oleauto.h needs the base types first.
#include <windows.h>

#include <oleauto.h>
#include <unknwn.h>

struct IRestrictedErrorInfo : public IUnknown {
  // Each string is the caller's to free with SysFreeString; any may be null.
  virtual HRESULT STDMETHODCALLTYPE GetErrorDetails(BSTR* description,
                                                    HRESULT* error,
                                                    BSTR* restricted_description,
                                                    BSTR* capability_sid) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetReference(BSTR* reference) = 0;
};

// clang-format off
__CRT_UUID_DECL(IRestrictedErrorInfo, 0x82ba7092, 0x4c88, 0x427d, 0xa7, 0xbc, 0x16, 0xdd, 0x93, 0xfe, 0xb6, 0x7e)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_RESTRICTEDERRORINFO_H_
