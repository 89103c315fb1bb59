#ifndef OCR_RUNTIME_OBJECT_H_
#define OCR_RUNTIME_OBJECT_H_

#include <inspectable.h>

#include "ocr/com_object.h"

// A Windows Runtime object implementing `First` and `Rest`, for test
// doubles: a ComObject that also answers IInspectable, through `First`.
template <typename First, typename... Rest>
class RuntimeObject : public ComObject<First, Rest...> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object != nullptr && IsEqualGUID(iid, __uuidof(IInspectable))) {
      return ComObject<First, Rest...>::QueryInterface(__uuidof(IUnknown), object);
    }
    return ComObject<First, Rest...>::QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override {
    *level = BaseTrust;
    return S_OK;
  }
};

#endif  // OCR_RUNTIME_OBJECT_H_
