#ifndef PLATFORM_WINRT_RUNTIME_RUNTIME_CLASS_H_
#define PLATFORM_WINRT_RUNTIME_RUNTIME_CLASS_H_

#include <inspectable.h>
#include <objidl.h>
#include <winstring.h>

#include <atomic>
#include <cwchar>
#include <type_traits>

namespace winrt_layer {
namespace internal {

template <class First, class...>
struct FirstOf {
  typedef First type;
};

}  // namespace internal

// The reference counting and interface lookup of an object that implements
// `Interfaces`. IUnknown resolves to the first interface. An object that
// lists IAgileObject says it may be used from any thread.
template <class... Interfaces>
class ComClass : public Interfaces... {
 public:
  ComClass(const ComClass&) = delete;
  ComClass& operator=(const ComClass&) = delete;

  IFACEMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    *object = nullptr;
    if (iid == __uuidof(IUnknown)) {
      *object = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      (FindInterface<Interfaces>(iid, object) || ...);
      if (*object == nullptr) {
        *object = FindExtraInterface(iid);
      }
    }
    if (*object == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  IFACEMETHODIMP_(ULONG) AddRef() override {
    return references_.fetch_add(1, std::memory_order_relaxed) + 1;
  }

  IFACEMETHODIMP_(ULONG) Release() override {
    ULONG left = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
      delete this;
    }
    return left;
  }

 protected:
  ComClass() = default;
  virtual ~ComClass() = default;

  // Interfaces found by other means than the class list (IInspectable).
  virtual void* FindExtraInterface(REFIID) { return nullptr; }

 private:
  typedef typename internal::FirstOf<Interfaces...>::type First;

  template <class I>
  bool FindInterface(REFIID iid, void** object) {
    if (iid != __uuidof(I)) {
      return false;
    }
    *object = static_cast<I*>(this);
    return true;
  }

  std::atomic<ULONG> references_{1};
};

// A Windows Runtime object: a ComClass whose first interface derives from
// IInspectable, named by ClassName().
template <class... Interfaces>
class RuntimeClass : public ComClass<Interfaces...> {
 public:
  // The identifiers are not listed: nothing here asks for them.
  IFACEMETHODIMP GetIids(ULONG* count, IID** iids) override {
    if (count == nullptr || iids == nullptr) {
      return E_POINTER;
    }
    *count = 0;
    *iids = nullptr;
    return E_NOTIMPL;
  }

  IFACEMETHODIMP GetRuntimeClassName(HSTRING* class_name) override {
    if (class_name == nullptr) {
      return E_POINTER;
    }
    const wchar_t* name = ClassName();
    return WindowsCreateString(name, static_cast<UINT32>(std::wcslen(name)), class_name);
  }

  IFACEMETHODIMP GetTrustLevel(TrustLevel* trust_level) override {
    if (trust_level == nullptr) {
      return E_POINTER;
    }
    *trust_level = BaseTrust;
    return S_OK;
  }

 protected:
  RuntimeClass() = default;
  ~RuntimeClass() override = default;

  virtual const wchar_t* ClassName() const = 0;

  void* FindExtraInterface(REFIID iid) override {
    if (iid != __uuidof(IInspectable)) {
      return nullptr;
    }
    return static_cast<IInspectable*>(static_cast<First*>(this));
  }

 private:
  typedef typename internal::FirstOf<Interfaces...>::type First;
  static_assert(std::is_base_of_v<IInspectable, First>);
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_RUNTIME_CLASS_H_
