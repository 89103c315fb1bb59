#ifndef OCR_COM_PTR_H_
#define OCR_COM_PTR_H_

#include <unknwn.h>

#include <utility>

// Owns one reference to a COM or Windows Runtime object and gives it back
// when it goes. Not thread-safe itself; the objects it holds decide where
// they may be used.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a reference of its own; `object` may be null.
  explicit ComPtr(T* object) : object_(object) {
    if (object_ != nullptr) {
      object_->AddRef();
    }
  }
  ComPtr(const ComPtr& other) : ComPtr(other.object_) {}
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Gives back the reference held, if any, and returns the slot for an out
  // parameter that hands over a reference.
  T** Put() {
    Reset();
    return &object_;
  }

  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) {
      object->Release();
    }
  }

  // The same object as `U`, through QueryInterface; the result is null and
  // the code a failure when the object lacks `U`.
  template <typename U>
  HRESULT As(ComPtr<U>* other) const {
    return object_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other->Put()));
  }

 private:
  T* object_ = nullptr;
};

#endif  // OCR_COM_PTR_H_
