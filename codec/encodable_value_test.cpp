#include "codec/encodable_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <any>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <future>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "codec/custom_encodable_value.h"

namespace flutter {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const float kFloatNaN = std::numeric_limits<float>::quiet_NaN();

// An application-defined object whose copies and destruction can be counted
// through the use count of `token`.
struct Probe {
  std::shared_ptr<int> token;
};

EncodableValue CustomProbe(const std::shared_ptr<int>& token) {
  return EncodableValue(CustomEncodableValue(Probe{token}));
}

void ExpectLess(const EncodableValue& a, const EncodableValue& b) {
  EXPECT_TRUE(a < b);
  EXPECT_FALSE(b < a);
}

void ExpectEquivalent(const EncodableValue& a, const EncodableValue& b) {
  EXPECT_FALSE(a < b);
  EXPECT_FALSE(b < a);
}

TEST(EncodableValueTest, EachContentBuildsItsOwnKind) {
  EXPECT_EQ(EncodableValue().Index(), EncodableValue::kNull);
  EXPECT_TRUE(EncodableValue().IsNull());
  EXPECT_EQ(EncodableValue(false).Index(), EncodableValue::kBool);
  EXPECT_EQ(EncodableValue(7).Index(), EncodableValue::kInt32);
  EXPECT_EQ(EncodableValue(int32_t{-7}).Index(), EncodableValue::kInt32);
  EXPECT_EQ(EncodableValue(int64_t{7}).Index(), EncodableValue::kInt64);
  EXPECT_EQ(EncodableValue(0.5).Index(), EncodableValue::kDouble);
  EXPECT_EQ(EncodableValue("text").Index(), EncodableValue::kString);
  EXPECT_EQ(EncodableValue(std::string("text")).Index(), EncodableValue::kString);
  EXPECT_EQ(EncodableValue(std::vector<uint8_t>{1}).Index(), EncodableValue::kByteList);
  EXPECT_EQ(EncodableValue(std::vector<int32_t>{1}).Index(), EncodableValue::kInt32List);
  EXPECT_EQ(EncodableValue(std::vector<int64_t>{1}).Index(), EncodableValue::kInt64List);
  EXPECT_EQ(EncodableValue(std::vector<double>{1}).Index(), EncodableValue::kDoubleList);
  EXPECT_EQ(EncodableValue(ValueList{}).Index(), EncodableValue::kList);
  EXPECT_EQ(EncodableValue(ValueMap{}).Index(), EncodableValue::kMap);
  EXPECT_EQ(EncodableValue(CustomEncodableValue(3)).Index(), EncodableValue::kCustom);
  EXPECT_EQ(EncodableValue(std::vector<float>{1}).Index(), EncodableValue::kFloat32List);
  EXPECT_EQ(EncodableValue::kFloat32List, 13U);
}

TEST(EncodableValueTest, ContentIsKeptExactly) {
  EXPECT_EQ(EncodableValue(std::numeric_limits<int64_t>::min()).Get<int64_t>(),
            std::numeric_limits<int64_t>::min());
  EXPECT_EQ(EncodableValue(std::string("a\0b", 3)).Get<std::string>(), std::string("a\0b", 3));
  EXPECT_TRUE(std::signbit(EncodableValue(-0.0).Get<double>()));
  EXPECT_THAT(EncodableValue(std::vector<float>{1.5F, -2.0F}).Get<std::vector<float>>(),
              testing::ElementsAre(1.5F, -2.0F));
}

TEST(EncodableValueTest, OptionalAccessYieldsOnlyTheKindHeld) {
  EncodableValue value(int32_t{7});
  ASSERT_NE(value.GetIf<int32_t>(), nullptr);
  EXPECT_EQ(*value.GetIf<int32_t>(), 7);
  EXPECT_EQ(value.GetIf<int64_t>(), nullptr);
  EXPECT_EQ(value.GetIf<bool>(), nullptr);
  EXPECT_EQ(value.GetIf<std::string>(), nullptr);

  *value.GetIf<int32_t>() = 8;
  EXPECT_EQ(value.Get<int32_t>(), 8);

  const EncodableValue null_value;
  EXPECT_EQ(null_value.GetIf<std::string>(), nullptr);
}

TEST(EncodableValueTest, StrictAccessToAnotherKindThrowsAndChangesNothing) {
  EncodableValue null_value;
  try {
    null_value.Get<std::string>();
    ADD_FAILURE() << "no exception";
  } catch (const std::bad_variant_access& error) {
    EXPECT_STREQ(error.what(), "bad variant access");
  }
  EXPECT_TRUE(null_value.IsNull());

  const EncodableValue int32_value(int32_t{7});
  try {
    int32_value.Get<int64_t>();
    ADD_FAILURE() << "no exception";
  } catch (const std::bad_variant_access& error) {
    EXPECT_STREQ(error.what(), "bad variant access");
  }
  EXPECT_EQ(int32_value.Get<int32_t>(), 7);

  EncodableValue text("ab");
  EXPECT_THROW(text.Get<ValueMap>(), std::bad_variant_access);
  EXPECT_THROW(text.Get<std::vector<uint8_t>>(), std::bad_variant_access);
  EXPECT_EQ(text.Get<std::string>(), "ab");
}

// One value of every kind, each lower kind holding content that would order
// after the higher kind's if content were compared first.
std::vector<EncodableValue> OneOfEveryKindInIndexOrder() {
  std::vector<EncodableValue> values;
  values.emplace_back();
  values.emplace_back(true);
  values.emplace_back(std::numeric_limits<int32_t>::max());
  values.emplace_back(std::numeric_limits<int64_t>::min());
  values.emplace_back(std::numeric_limits<double>::infinity());
  values.emplace_back(std::string(3, '\xFF'));
  values.emplace_back(std::vector<uint8_t>{0xFF, 0xFF});
  values.emplace_back(std::vector<int32_t>{});
  values.emplace_back(std::vector<int64_t>{});
  values.emplace_back(std::vector<double>{});
  values.emplace_back(ValueList{});
  values.emplace_back(ValueMap{});
  values.emplace_back(CustomEncodableValue(0));
  values.emplace_back(std::vector<float>{});
  return values;
}

TEST(EncodableValueOrderingTest, DifferentKindsOrderByKindIndexWhateverTheContent) {
  const std::vector<EncodableValue> values = OneOfEveryKindInIndexOrder();
  for (size_t i = 0; i < values.size(); ++i) {
    ASSERT_EQ(values[i].Index(), i);
    for (size_t j = i + 1; j < values.size(); ++j) {
      SCOPED_TRACE(testing::Message() << "kinds " << i << " and " << j);
      ExpectLess(values[i], values[j]);
    }
  }
}

TEST(EncodableValueOrderingTest, ScalarsCompareByValue) {
  ExpectEquivalent(EncodableValue(), EncodableValue());
  ExpectLess(EncodableValue(false), EncodableValue(true));
  ExpectEquivalent(EncodableValue(true), EncodableValue(true));
  ExpectLess(EncodableValue(-1), EncodableValue(0));
  ExpectLess(EncodableValue(std::numeric_limits<int32_t>::min()),
             EncodableValue(std::numeric_limits<int32_t>::max()));
  ExpectLess(EncodableValue(int64_t{-1}), EncodableValue(int64_t{0}));
  ExpectLess(EncodableValue(int64_t{1} << 33), EncodableValue(int64_t{1} << 40));
  ExpectLess(EncodableValue(-1.5), EncodableValue(2.5));
  ExpectLess(EncodableValue(-std::numeric_limits<double>::infinity()),
             EncodableValue(std::numeric_limits<double>::lowest()));
  ExpectEquivalent(EncodableValue(-0.0), EncodableValue(0.0));
  ExpectEquivalent(EncodableValue(kNaN), EncodableValue(1.0));
  ExpectEquivalent(EncodableValue(kNaN), EncodableValue(kNaN));
}

TEST(EncodableValueOrderingTest, Int32AndInt64OfTheSameNumberAreDifferentKeys) {
  ExpectLess(EncodableValue(int32_t{7}), EncodableValue(int64_t{7}));
  ExpectLess(EncodableValue(int32_t{8}), EncodableValue(int64_t{7}));

  ValueMap map;
  map.emplace(EncodableValue(int64_t{7}), EncodableValue("int64"));
  map.emplace(EncodableValue(int32_t{7}), EncodableValue("int32"));
  ASSERT_EQ(map.size(), 2U);
  EXPECT_EQ(map.begin()->first.Index(), EncodableValue::kInt32);
  EXPECT_EQ(map.at(EncodableValue(int32_t{7})).Get<std::string>(), "int32");
  EXPECT_EQ(map.at(EncodableValue(int64_t{7})).Get<std::string>(), "int64");
}

TEST(EncodableValueOrderingTest, StringsCompareAsUnsignedBytesShorterPrefixFirst) {
  ExpectLess(EncodableValue("ab"), EncodableValue("abc"));
  ExpectLess(EncodableValue("abc"), EncodableValue("b"));
  ExpectLess(EncodableValue("xA"), EncodableValue("x\xC3"));
  ExpectLess(EncodableValue(""), EncodableValue(std::string(1, '\0')));
  ExpectLess(EncodableValue(std::string("a\0a", 3)), EncodableValue(std::string("a\0b", 3)));
  ExpectEquivalent(EncodableValue("same"), EncodableValue("same"));
}

TEST(EncodableValueOrderingTest, IntegerListsCompareLexicographically) {
  using Bytes = std::vector<uint8_t>;
  ExpectLess(EncodableValue(Bytes{1, 2}), EncodableValue(Bytes{1, 2, 0}));
  ExpectLess(EncodableValue(Bytes{0x01, 0xFF}), EncodableValue(Bytes{0x80}));
  ExpectLess(EncodableValue(Bytes{0x7F}), EncodableValue(Bytes{0x80}));

  using Int32s = std::vector<int32_t>;
  ExpectLess(EncodableValue(Int32s{-1}), EncodableValue(Int32s{0}));
  ExpectLess(EncodableValue(Int32s{1, 9}), EncodableValue(Int32s{2}));
  ExpectEquivalent(EncodableValue(Int32s{4, 5}), EncodableValue(Int32s{4, 5}));

  using Int64s = std::vector<int64_t>;
  ExpectLess(EncodableValue(Int64s{std::numeric_limits<int64_t>::min()}),
             EncodableValue(Int64s{0}));
  ExpectLess(EncodableValue(Int64s{3}), EncodableValue(Int64s{3, -1}));
  ExpectLess(EncodableValue(Int64s{int64_t{1} << 32}), EncodableValue(Int64s{int64_t{1} << 33}));
}

TEST(EncodableValueOrderingTest, FloatingListsPassOverIncomparablePositions) {
  using Doubles = std::vector<double>;
  ExpectLess(EncodableValue(Doubles{kNaN, 1}), EncodableValue(Doubles{kNaN, 2}));
  ExpectLess(EncodableValue(Doubles{1, kNaN, 1}), EncodableValue(Doubles{1, kNaN, 2}));
  ExpectLess(EncodableValue(Doubles{kNaN}), EncodableValue(Doubles{kNaN, 0}));
  ExpectEquivalent(EncodableValue(Doubles{kNaN}), EncodableValue(Doubles{1}));
  ExpectEquivalent(EncodableValue(Doubles{-0.0}), EncodableValue(Doubles{0.0}));
  ExpectLess(EncodableValue(Doubles{-1, 5}), EncodableValue(Doubles{0}));

  using Floats = std::vector<float>;
  ExpectLess(EncodableValue(Floats{kFloatNaN, 1}), EncodableValue(Floats{kFloatNaN, 2}));
  ExpectEquivalent(EncodableValue(Floats{kFloatNaN}), EncodableValue(Floats{1}));
  ExpectLess(EncodableValue(Floats{1.5F}), EncodableValue(Floats{1.5F, -1}));
}

TEST(EncodableValueOrderingTest, EmptyListsAreEquivalentAndBeforeAnyNonEmptyOne) {
  const std::vector<std::pair<EncodableValue, EncodableValue>> empty_and_one = {
      {EncodableValue(std::string()), EncodableValue(std::string(1, '\0'))},
      {EncodableValue(std::vector<uint8_t>{}), EncodableValue(std::vector<uint8_t>{0})},
      {EncodableValue(std::vector<int32_t>{}),
       EncodableValue(std::vector<int32_t>{std::numeric_limits<int32_t>::min()})},
      {EncodableValue(std::vector<int64_t>{}),
       EncodableValue(std::vector<int64_t>{std::numeric_limits<int64_t>::min()})},
      {EncodableValue(std::vector<double>{}), EncodableValue(std::vector<double>{kNaN})},
      {EncodableValue(ValueList{}), EncodableValue(ValueList{EncodableValue()})},
      {EncodableValue(ValueMap{}), EncodableValue(ValueMap{{EncodableValue(), EncodableValue()}})},
      {EncodableValue(std::vector<float>{}), EncodableValue(std::vector<float>{kFloatNaN})},
  };
  for (const auto& [empty, one] : empty_and_one) {
    SCOPED_TRACE(testing::Message() << "kind " << empty.Index());
    ExpectEquivalent(empty, EncodableValue(empty));
    ExpectLess(empty, one);
  }
}

TEST(EncodableValueOrderingTest, ValueListsCompareElementsWithTheSameOrdering) {
  ExpectLess(EncodableValue(ValueList{EncodableValue(1)}),
             EncodableValue(ValueList{EncodableValue(2)}));
  ExpectLess(EncodableValue(ValueList{EncodableValue(99)}),
             EncodableValue(ValueList{EncodableValue(int64_t{0})}));
  ExpectLess(EncodableValue(ValueList{EncodableValue(1)}),
             EncodableValue(ValueList{EncodableValue(1), EncodableValue()}));
  ExpectLess(EncodableValue(ValueList{EncodableValue(ValueList{EncodableValue("a")})}),
             EncodableValue(ValueList{EncodableValue(ValueList{EncodableValue("b")})}));
  ExpectEquivalent(EncodableValue(ValueList{EncodableValue(1), EncodableValue("x")}),
                   EncodableValue(ValueList{EncodableValue(1), EncodableValue("x")}));
}

TEST(EncodableValueOrderingTest, ValueMapsCompareEntriesKeyFirstThenValue) {
  const EncodableValue one_b(ValueMap{{EncodableValue(1), EncodableValue("b")}});
  const EncodableValue two_a(ValueMap{{EncodableValue(2), EncodableValue("a")}});
  const EncodableValue one_a(ValueMap{{EncodableValue(1), EncodableValue("a")}});
  const EncodableValue one_b_two_a(
      ValueMap{{EncodableValue(1), EncodableValue("b")}, {EncodableValue(2), EncodableValue("a")}});
  ExpectLess(one_b, two_a);
  ExpectLess(one_a, one_b);
  ExpectLess(one_b, one_b_two_a);
  ExpectLess(one_b_two_a, two_a);
  ExpectLess(EncodableValue(ValueMap{}), one_a);
  ExpectEquivalent(one_b, EncodableValue(ValueMap{{EncodableValue(1), EncodableValue("b")}}));
}

TEST(EncodableValueOrderingTest, MapKeysIterateInKindThenContentOrder) {
  ValueMap map;
  map.emplace(EncodableValue(""), EncodableValue(4));
  map.emplace(EncodableValue(0), EncodableValue(3));
  map.emplace(EncodableValue(true), EncodableValue(2));
  map.emplace(EncodableValue(false), EncodableValue(1));
  map.emplace(EncodableValue(), EncodableValue(0));
  std::vector<EncodableValue> keys;
  for (const auto& [key, entry] : map) {
    keys.push_back(key);
  }
  ASSERT_EQ(keys.size(), 5U);
  EXPECT_TRUE(keys[0].IsNull());
  EXPECT_EQ(keys[1].Get<bool>(), false);
  EXPECT_EQ(keys[2].Get<bool>(), true);
  EXPECT_EQ(keys[3].Get<int32_t>(), 0);
  EXPECT_EQ(keys[4].Get<std::string>(), "");
}

TEST(EncodableValueOrderingTest, CustomValuesOrderByTheirOwnAddress) {
  const EncodableValue values[2] = {EncodableValue(CustomEncodableValue(2)),
                                    EncodableValue(CustomEncodableValue(1))};
  ExpectLess(values[0], values[1]);
  ExpectEquivalent(values[0], values[0]);

  const EncodableValue copy = values[0];
  EXPECT_TRUE(copy < values[0] || values[0] < copy);
}

TEST(EncodableValueOrderingTest, OnlyTheStoredCustomKeyFindsItsEntry) {
  ValueMap map;
  const EncodableValue key(CustomEncodableValue(std::string("key")));
  map.emplace(key, EncodableValue(1));
  map.emplace(EncodableValue(1), EncodableValue(2));
  EXPECT_EQ(map.find(key), map.end());
  const EncodableValue& stored_key = std::prev(map.end())->first;
  ASSERT_EQ(stored_key.Index(), EncodableValue::kCustom);
  auto found = map.find(stored_key);
  ASSERT_NE(found, map.end());
  EXPECT_EQ(&found->first, &stored_key);
}

// A pool of values without NaN, on which the ordering must be a strict weak
// ordering for std::map to work.
std::vector<EncodableValue> OrderingPool() {
  std::vector<EncodableValue> pool = OneOfEveryKindInIndexOrder();
  pool.emplace_back(std::vector<float>{0.5F});
  pool.emplace_back(CustomEncodableValue(1));
  for (int i = -1; i <= 1; ++i) {
    pool.emplace_back(i);
    pool.emplace_back(int64_t{i});
    pool.emplace_back(i * 0.5);
    pool.emplace_back(std::string(static_cast<size_t>(i + 1), 'a'));
    pool.emplace_back(std::vector<int32_t>{i, i});
    pool.emplace_back(std::vector<double>{i * 1.0});
    pool.emplace_back(ValueList{EncodableValue(i)});
    pool.emplace_back(ValueList{EncodableValue(i), EncodableValue()});
    pool.emplace_back(ValueMap{{EncodableValue(i), EncodableValue()}});
    pool.emplace_back(ValueMap{{EncodableValue(), EncodableValue(i)}});
  }
  pool.emplace_back(-0.0);
  pool.emplace_back(false);
  pool.emplace_back();
  return pool;
}

TEST(EncodableValueOrderingTest, OrderingIsAStrictWeakOrdering) {
  const std::vector<EncodableValue> pool = OrderingPool();
  auto equivalent = [](const EncodableValue& a, const EncodableValue& b) {
    return !(a < b) && !(b < a);
  };
  for (size_t i = 0; i < pool.size(); ++i) {
    EXPECT_FALSE(pool[i] < pool[i]) << i;
    for (size_t j = 0; j < pool.size(); ++j) {
      EXPECT_FALSE(pool[i] < pool[j] && pool[j] < pool[i]) << i << " " << j;
      for (size_t k = 0; k < pool.size(); ++k) {
        if (pool[i] < pool[j] && pool[j] < pool[k]) {
          EXPECT_TRUE(pool[i] < pool[k]) << i << " " << j << " " << k;
        }
        if (equivalent(pool[i], pool[j]) && equivalent(pool[j], pool[k])) {
          EXPECT_TRUE(equivalent(pool[i], pool[k])) << i << " " << j << " " << k;
        }
      }
    }
  }
}

// `depth` levels around `innermost`: lists, maps holding the level below as a
// value, and maps holding it as a key, in turn.
EncodableValue DeepValue(int depth, EncodableValue innermost) {
  EncodableValue value = std::move(innermost);
  for (int level = 0; level < depth; ++level) {
    if (level % 3 == 0) {
      ValueList list;
      list.push_back(std::move(value));
      value = EncodableValue(std::move(list));
    } else {
      ValueMap map;
      if (level % 3 == 1) {
        map.emplace(EncodableValue("k"), std::move(value));
      } else {
        map.emplace(std::move(value), EncodableValue());
      }
      value = EncodableValue(std::move(map));
    }
  }
  return value;
}

TEST(EncodableValueOrderingTest, DeepValuesCompareByTheirInnermostDifference) {
  ExpectLess(DeepValue(30, EncodableValue(1)), DeepValue(30, EncodableValue(2)));
  ExpectLess(DeepValue(31, EncodableValue(1)), DeepValue(31, EncodableValue(2)));
  ExpectLess(DeepValue(32, EncodableValue(1)), DeepValue(32, EncodableValue(2)));
  ExpectEquivalent(DeepValue(30, EncodableValue("x")), DeepValue(30, EncodableValue("x")));
}

// Equivalent values are compared once per level of nesting: work that doubled
// with each level would not finish at this depth.
TEST(EncodableValueOrderingTest, EquivalentDeepValuesCompareInOnePass) {
  auto values = std::make_shared<std::pair<EncodableValue, EncodableValue>>(
      DeepValue(90, EncodableValue()), DeepValue(90, EncodableValue()));
  auto outcome = std::make_shared<std::promise<bool>>();
  std::future<bool> either_less = outcome->get_future();
  // Detached so that a comparison that never ends fails the test instead of
  // hanging it; the thread shares ownership of what it reads.
  std::thread([values, outcome] {
    outcome->set_value(values->first < values->second || values->second < values->first);
  }).detach();
  ASSERT_EQ(either_less.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_FALSE(either_less.get());
}

TEST(EncodableValueTest, CopiesAreDeep) {
  EncodableValue original(ValueMap{
      {EncodableValue("list"),
       EncodableValue(ValueList{EncodableValue("text"), EncodableValue(std::vector<int32_t>{1})})},
  });
  EncodableValue copy = original;
  ValueList& copied_list = copy.Get<ValueMap>().begin()->second.Get<ValueList>();
  copied_list[0].Get<std::string>() += " changed";
  copied_list[1].Get<std::vector<int32_t>>().push_back(2);
  copied_list.emplace_back(3);

  const ValueList& original_list = original.Get<ValueMap>().begin()->second.Get<ValueList>();
  ASSERT_EQ(original_list.size(), 2U);
  EXPECT_EQ(original_list[0].Get<std::string>(), "text");
  EXPECT_THAT(original_list[1].Get<std::vector<int32_t>>(), testing::ElementsAre(1));
  EXPECT_TRUE(original < copy);

  EncodableValue assigned;
  assigned = original;
  original.Get<ValueMap>().clear();
  EXPECT_EQ(assigned.Get<ValueMap>().size(), 1U);
}

TEST(EncodableValueTest, CustomValuesCopyAndDestroyTheHeldObject) {
  auto token = std::make_shared<int>(0);
  {
    EncodableValue value = CustomProbe(token);
    EXPECT_EQ(token.use_count(), 2);
    {
      EncodableValue copy = value;
      EXPECT_EQ(token.use_count(), 3);
      const Probe* held = std::any_cast<Probe>(&value.Get<CustomEncodableValue>().object());
      const Probe* copied = std::any_cast<Probe>(&copy.Get<CustomEncodableValue>().object());
      ASSERT_NE(held, nullptr);
      ASSERT_NE(copied, nullptr);
      EXPECT_NE(held, copied);
    }
    EXPECT_EQ(token.use_count(), 2);
    {
      EncodableValue nested(ValueList{EncodableValue(ValueMap{{EncodableValue(1), value}})});
      EncodableValue nested_copy = nested;
      EXPECT_EQ(token.use_count(), 4);
    }
    EXPECT_EQ(token.use_count(), 2);
  }
  EXPECT_EQ(token.use_count(), 1);
}

TEST(EncodableValueTest, MovingTransfersTheContentAndLeavesTheSourceUsable) {
  EncodableValue source(ValueList{EncodableValue("a"), EncodableValue(std::vector<double>{1.5})});
  EncodableValue target(std::move(source));
  ASSERT_EQ(target.Index(), EncodableValue::kList);
  EXPECT_EQ(target.Get<ValueList>().size(), 2U);

  // The moved-from value can still be inspected, copied, compared and reused.
  EXPECT_LT(source.Index(), 14U);
  EncodableValue copy_of_source = source;
  EXPECT_FALSE(source < copy_of_source && copy_of_source < source);
  source = EncodableValue(5);
  EXPECT_EQ(source.Get<int32_t>(), 5);

  EncodableValue assigned;
  assigned = std::move(target);
  EXPECT_EQ(assigned.Get<ValueList>()[0].Get<std::string>(), "a");
  target = EncodableValue("again");
  EXPECT_EQ(target.Get<std::string>(), "again");
}

TEST(EncodableValueTest, MovingACustomValueNeitherCopiesNorLosesTheObject) {
  auto token = std::make_shared<int>(0);
  {
    EncodableValue source = CustomProbe(token);
    EncodableValue target(std::move(source));
    EXPECT_EQ(token.use_count(), 2);
    EXPECT_NE(std::any_cast<Probe>(&target.Get<CustomEncodableValue>().object()), nullptr);
  }
  EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
}  // namespace flutter
