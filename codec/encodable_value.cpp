#include "codec/encodable_value.h"

#include <algorithm>
#include <functional>

namespace flutter {

bool operator<(const EncodableValue& a, const EncodableValue& b) {
  if (a.Index() != b.Index()) {
    return a.Index() < b.Index();
  }
  if (a.Index() == EncodableValue::kCustom) {
    return std::less<const EncodableValue*>()(&a, &b);
  }
  return std::visit(
      [&b](const auto& left) {
        using T = std::decay_t<decltype(left)>;
        if constexpr (std::is_same_v<T, std::monostate> ||
                      std::is_same_v<T, CustomEncodableValue>) {
          return false;
        } else if constexpr (std::is_arithmetic_v<T> || std::is_same_v<T, std::string>) {
          // char_traits<char> compares string bytes as unsigned.
          return left < *b.GetIf<T>();
        } else {
          const T& right = *b.GetIf<T>();
          // Element by element with operator< alone: a NaN pair is passed over
          // rather than ending the comparison, as the three-way form of the
          // container operators would. ValueMap entries compare key first.
          return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end());
        }
      },
      a.content_);
}

}  // namespace flutter
