#ifndef PLATFORM_WIN32_INCLUDE_UNKNWN_H_
#define PLATFORM_WIN32_INCLUDE_UNKNWN_H_

// IUnknown: reference counting and interface lookup, the base of every COM
// and Windows Runtime interface. Objects are laid out as on Windows: a
// pointer to a table of virtual functions, IUnknown's three first.

#include "guiddef.h"
#include "windef.h"
#include "winerror.h"

#define STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define IFACEMETHOD(method) STDMETHOD(method)
#define IFACEMETHODIMP HRESULT STDMETHODCALLTYPE
#define IFACEMETHODIMP_(type) type STDMETHODCALLTYPE

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  // Objects are destroyed by their last Release, never through this base.
  ~IUnknown() = default;
};
__CRT_UUID_DECL(IUnknown,
                0x00000000,
                0x0000,
                0x0000,
                0xc0,
                0x00,
                0x00,
                0x00,
                0x00,
                0x00,
                0x00,
                0x46)

#endif  // PLATFORM_WIN32_INCLUDE_UNKNWN_H_
