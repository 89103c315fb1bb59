#include "codec/encodable_value.h"

#include <algorithm>
#include <functional>

namespace flutter {

namespace {

// Three-way comparisons: negative, zero or positive. Each level of nesting is
// visited once; deciding a < b by testing a < b and then b < a at every level
// would double the work per level, which nested input makes exponential.
int Compare(const EncodableValue& a, const EncodableValue& b);

int CompareContent(const EncodableValue& a, const EncodableValue& b) {
  return Compare(a, b);
}

// Numbers and strings, with operator< alone: a NaN is neither less nor
// greater, so a list comparison passes over it rather than stopping there.
// char_traits<char> compares string bytes as unsigned.
template <typename T>
int CompareContent(const T& a, const T& b) {
  if (a < b) {
    return -1;
  }
  return b < a ? 1 : 0;
}

template <typename T>
int CompareContent(const std::vector<T>& a, const std::vector<T>& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (int order = CompareContent(a[i], b[i]); order != 0) {
      return order;
    }
  }
  return CompareContent(a.size(), b.size());
}

// Entries in key order, each by its key and, for equivalent keys, its value.
int CompareContent(const ValueMap& a, const ValueMap& b) {
  for (auto left = a.begin(), right = b.begin(); left != a.end() && right != b.end();
       ++left, ++right) {
    if (int order = Compare(left->first, right->first); order != 0) {
      return order;
    }
    if (int order = Compare(left->second, right->second); order != 0) {
      return order;
    }
  }
  return CompareContent(a.size(), b.size());
}

template <typename T>
int CompareAs(const EncodableValue& a, const EncodableValue& b) {
  return CompareContent(*a.GetIf<T>(), *b.GetIf<T>());
}

int Compare(const EncodableValue& a, const EncodableValue& b) {
  if (a.Index() != b.Index()) {
    return a.Index() < b.Index() ? -1 : 1;
  }
  switch (a.Index()) {
    case EncodableValue::kNull:
      return 0;
    case EncodableValue::kBool:
      return CompareAs<bool>(a, b);
    case EncodableValue::kInt32:
      return CompareAs<int32_t>(a, b);
    case EncodableValue::kInt64:
      return CompareAs<int64_t>(a, b);
    case EncodableValue::kDouble:
      return CompareAs<double>(a, b);
    case EncodableValue::kString:
      return CompareAs<std::string>(a, b);
    case EncodableValue::kByteList:
      return CompareAs<std::vector<uint8_t>>(a, b);
    case EncodableValue::kInt32List:
      return CompareAs<std::vector<int32_t>>(a, b);
    case EncodableValue::kInt64List:
      return CompareAs<std::vector<int64_t>>(a, b);
    case EncodableValue::kDoubleList:
      return CompareAs<std::vector<double>>(a, b);
    case EncodableValue::kList:
      return CompareAs<ValueList>(a, b);
    case EncodableValue::kMap:
      return CompareAs<ValueMap>(a, b);
    case EncodableValue::kCustom: {
      // A custom value is equivalent only to itself.
      std::less<const EncodableValue*> less;
      if (less(&a, &b)) {
        return -1;
      }
      return less(&b, &a) ? 1 : 0;
    }
    case EncodableValue::kFloat32List:
      return CompareAs<std::vector<float>>(a, b);
  }
  return 0;
}

}  // namespace

bool operator<(const EncodableValue& a, const EncodableValue& b) {
  return Compare(a, b) < 0;
}

}  // namespace flutter
