#ifndef OCR_RUNTIME_OBJECT_H_
#define OCR_RUNTIME_OBJECT_H_

#include <inspectable.h>

#include <atomic>

// A reference-counted object implementing `Interfaces` for test doubles: it
// answers IUnknown, IInspectable (through the first interface) and each of
// `Interfaces`, and deletes itself with its last reference.
template <typename First, typename... Rest>
class RuntimeObject : public First, public Rest... {
 public:
  RuntimeObject() = default;
  RuntimeObject(const RuntimeObject&) = delete;
  RuntimeObject& operator=(const RuntimeObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualGUID(iid, __uuidof(IUnknown)) || IsEqualGUID(iid, __uuidof(IInspectable)) ||
        IsEqualGUID(iid, __uuidof(First))) {
      *object = static_cast<First*>(this);
    }
    ((*object == nullptr && IsEqualGUID(iid, __uuidof(Rest)) &&
      (*object = static_cast<Rest*>(this)) != nullptr),
     ...);
    if (*object == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override {
    *level = BaseTrust;
    return S_OK;
  }

 protected:
  virtual ~RuntimeObject() = default;

 private:
  std::atomic<ULONG> references_{0};
};

#endif  // OCR_RUNTIME_OBJECT_H_
