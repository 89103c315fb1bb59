#ifndef OCR_COM_OBJECT_H_
#define OCR_COM_OBJECT_H_

#include <unknwn.h>

#include <atomic>

// The IUnknown part of an object that implements `First` and `Rest`: it
// answers IUnknown (through `First`) and each of the interfaces, counts its
// references on any thread, and deletes itself with its last one.
template <typename First, typename... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualGUID(iid, __uuidof(IUnknown)) || IsEqualGUID(iid, __uuidof(First))) {
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

 protected:
  virtual ~ComObject() = default;

 private:
  std::atomic<ULONG> references_{0};
};

#endif  // OCR_COM_OBJECT_H_
