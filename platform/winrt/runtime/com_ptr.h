#ifndef PLATFORM_WINRT_RUNTIME_COM_PTR_H_
#define PLATFORM_WINRT_RUNTIME_COM_PTR_H_

#include <unknwn.h>

#include <utility>

namespace winrt_layer {

// Owns one reference to a COM object.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a reference of its own.
  explicit ComPtr(T* object) : object_(object) { AddRefObject(); }
  ComPtr(const ComPtr& other) : object_(other.object_) { AddRefObject(); }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <class U>
  ComPtr(ComPtr<U> other) : object_(other.Detach()) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  // Takes over a reference the caller owns.
  static ComPtr Adopt(T* object) {
    ComPtr result;
    result.object_ = object;
    return result;
  }

  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Releases what is held and gives the slot to fill.
  T** ReleaseAndGetAddressOf() {
    Reset();
    return &object_;
  }

  // Gives up the reference to the caller.
  T* Detach() { return std::exchange(object_, nullptr); }

  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) {
      object->Release();
    }
  }

  // A reference for the caller in *out (null when empty).
  void CopyTo(T** out) const {
    AddRefObject();
    *out = object_;
  }

  // The object as the interface U, or empty when it lacks U.
  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> result;
    if (object_ != nullptr) {
      object_->QueryInterface(__uuidof(U),
                              reinterpret_cast<void**>(result.ReleaseAndGetAddressOf()));
    }
    return result;
  }

 private:
  void AddRefObject() const {
    if (object_ != nullptr) {
      object_->AddRef();
    }
  }

  T* object_ = nullptr;
};

// A new object of the runtime class T, holding the reference it starts with.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_RUNTIME_COM_PTR_H_
