#include "fuzz/nan_map_keys.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace norvalis_fuzz {

namespace {

using flutter::EncodableValue;

bool ContainsNan(const EncodableValue& value) {
  auto is_nan = [](auto number) { return std::isnan(number); };
  if (const auto* number = value.GetIf<double>()) {
    return std::isnan(*number);
  }
  if (const auto* numbers = value.GetIf<std::vector<double>>()) {
    return std::any_of(numbers->begin(), numbers->end(), is_nan);
  }
  if (const auto* numbers = value.GetIf<std::vector<float>>()) {
    return std::any_of(numbers->begin(), numbers->end(), is_nan);
  }
  if (const auto* list = value.GetIf<flutter::ValueList>()) {
    return std::any_of(list->begin(), list->end(), ContainsNan);
  }
  if (const auto* map = value.GetIf<flutter::ValueMap>()) {
    return std::any_of(map->begin(), map->end(), [](const auto& entry) {
      return ContainsNan(entry.first) || ContainsNan(entry.second);
    });
  }
  return false;
}

}  // namespace

bool HasNanInMapKey(const EncodableValue& value) {
  if (const auto* list = value.GetIf<flutter::ValueList>()) {
    return std::any_of(list->begin(), list->end(), HasNanInMapKey);
  }
  if (const auto* map = value.GetIf<flutter::ValueMap>()) {
    return std::any_of(map->begin(), map->end(), [](const auto& entry) {
      return ContainsNan(entry.first) || HasNanInMapKey(entry.second);
    });
  }
  return false;
}

}  // namespace norvalis_fuzz
