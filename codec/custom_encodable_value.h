#ifndef CODEC_CUSTOM_ENCODABLE_VALUE_H_
#define CODEC_CUSTOM_ENCODABLE_VALUE_H_

#include <any>
#include <type_traits>
#include <utility>

namespace flutter {

// Holds one object of an application-defined type, type-erased. Copying the
// holder copies the object; destroying it destroys the object. The standard
// encoding never carries custom values: they are written as null.
class CustomEncodableValue {
 public:
  template <
      typename T,
      typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<T>, CustomEncodableValue>>>
  explicit CustomEncodableValue(T&& object) : object_(std::forward<T>(object)) {}

  const std::any& object() const { return object_; }

 private:
  std::any object_;
};

}  // namespace flutter

#endif  // CODEC_CUSTOM_ENCODABLE_VALUE_H_
