#ifndef PLATFORM_WIN32_INCLUDE_INSPECTABLE_H_
#define PLATFORM_WIN32_INCLUDE_INSPECTABLE_H_

// IInspectable: the base of every Windows Runtime interface.

#include "hstring.h"
#include "unknwn.h"

typedef enum TrustLevel { BaseTrust = 0, PartialTrust = 1, FullTrust = 2 } TrustLevel;

struct IInspectable : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetIids(ULONG* count, IID** iids) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* class_name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* trust_level) = 0;

 protected:
  ~IInspectable() = default;
};
__CRT_UUID_DECL(IInspectable,
                0xaf86e2e0,
                0xb12d,
                0x4c6a,
                0x9c,
                0x5a,
                0xd7,
                0xaa,
                0x65,
                0x10,
                0x1e,
                0x90)

#endif  // PLATFORM_WIN32_INCLUDE_INSPECTABLE_H_
