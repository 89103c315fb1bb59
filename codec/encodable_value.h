#ifndef CODEC_ENCODABLE_VALUE_H_
#define CODEC_ENCODABLE_VALUE_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "codec/custom_encodable_value.h"

namespace flutter {

class EncodableValue;

using ValueList = std::vector<EncodableValue>;
using ValueMap = std::map<EncodableValue, EncodableValue>;

// Thrown by strict access to a kind the value does not hold. The text is fixed
// so that it reads the same whatever the standard library's own says.
class BadVariantAccess : public std::bad_variant_access {
 public:
  const char* what() const noexcept override { return "bad variant access"; }
};

// The value exchanged with the application code over method channels: exactly
// one of fourteen kinds, owned outright (copies are deep). The order of the
// alternatives is the kind index; the serializer maps it to wire type bytes
// and the ordering of values of different kinds follows it.
class EncodableValue {
 public:
  using Variant = std::variant<std::monostate,
                               bool,
                               int32_t,
                               int64_t,
                               double,
                               std::string,
                               std::vector<uint8_t>,
                               std::vector<int32_t>,
                               std::vector<int64_t>,
                               std::vector<double>,
                               ValueList,
                               ValueMap,
                               CustomEncodableValue,
                               std::vector<float>>;

  enum Kind : std::size_t {
    kNull = 0,
    kBool,
    kInt32,
    kInt64,
    kDouble,
    kString,
    kByteList,
    kInt32List,
    kInt64List,
    kDoubleList,
    kList,
    kMap,
    kCustom,
    kFloat32List,
  };

  EncodableValue() = default;
  EncodableValue(const char* text) : content_(std::string(text)) {}

  // Builds a value from the content of any alternative. Integers pick int32 or
  // int64 by their own width; nothing narrows.
  template <typename T,
            typename = std::enable_if_t<!std::is_same_v<std::remove_cvref_t<T>, EncodableValue> &&
                                        std::is_constructible_v<Variant, T>>>
  EncodableValue(T&& content) : content_(std::forward<T>(content)) {}

  EncodableValue(const EncodableValue&) = default;
  EncodableValue(EncodableValue&&) noexcept = default;
  EncodableValue& operator=(const EncodableValue&) = default;
  EncodableValue& operator=(EncodableValue&&) noexcept = default;
  ~EncodableValue() = default;

  // The index of the alternative held, 0 to 13.
  std::size_t Index() const { return content_.index(); }
  bool IsNull() const { return Index() == kNull; }

  // Optional access: the content if this value holds a T, else null.
  template <typename T>
  const T* GetIf() const noexcept {
    return std::get_if<T>(&content_);
  }
  template <typename T>
  T* GetIf() noexcept {
    return std::get_if<T>(&content_);
  }

  // Strict access: the content as a T; throws BadVariantAccess otherwise.
  template <typename T>
  const T& Get() const {
    if (const T* content = GetIf<T>()) {
      return *content;
    }
    throw BadVariantAccess();
  }
  template <typename T>
  T& Get() {
    if (T* content = GetIf<T>()) {
      return *content;
    }
    throw BadVariantAccess();
  }

  // The total ordering used for map keys: by kind index first, then by
  // content. Custom values order by the address of the value itself.
  friend bool operator<(const EncodableValue& a, const EncodableValue& b);

 private:
  Variant content_;
};

}  // namespace flutter

#endif  // CODEC_ENCODABLE_VALUE_H_
