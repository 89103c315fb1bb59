#include "engine_bridge/method_result.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "codec/custom_encodable_value.h"
#include "codec/encodable_value.h"
#include "engine_bridge/method_call.h"

namespace flutter {
namespace {

using testing::StrictMock;

class MockMethodResult : public MethodResult<EncodableValue> {
 public:
  MOCK_METHOD(void, DeliverSuccess, (const EncodableValue* result), (override));
  MOCK_METHOD(void,
              DeliverError,
              (const std::string& code, const std::string& message, const EncodableValue* details),
              (override));
  MOCK_METHOD(void, DeliverNotImplemented, (), (override));
};

TEST(MethodCallTest, AbsentArgumentsDifferFromTheNullValue) {
  const MethodCall<EncodableValue> absent("recognize", nullptr);
  EXPECT_EQ(absent.method(), "recognize");
  EXPECT_EQ(absent.args(), nullptr);

  const MethodCall<EncodableValue> null("recognize", std::make_unique<EncodableValue>());
  ASSERT_NE(null.args(), nullptr);
  EXPECT_TRUE(null.args()->IsNull());
}

TEST(MethodCallTest, OwnsTheArgumentsItWasGiven) {
  auto token = std::make_shared<int>(0);
  auto args = std::make_unique<EncodableValue>(CustomEncodableValue(token));
  const EncodableValue* given = args.get();
  {
    const MethodCall<EncodableValue> call(std::string("caf\xC3\xA9\0x", 7), std::move(args));
    EXPECT_EQ(call.args(), given);
    EXPECT_EQ(call.method(), std::string("caf\xC3\xA9\0x", 7));
    EXPECT_EQ(token.use_count(), 2);
  }
  EXPECT_EQ(token.use_count(), 1);
}

TEST(MethodResultTest, SuccessDeliversTheAddressOfTheValue) {
  StrictMock<MockMethodResult> result;
  const EncodableValue value("text");
  EXPECT_CALL(result, DeliverSuccess(&value));
  result.Success(value);
}

TEST(MethodResultTest, SuccessWithTheNullValueStillDeliversAValue) {
  StrictMock<MockMethodResult> result;
  const EncodableValue null_value;
  EXPECT_CALL(result, DeliverSuccess(&null_value));
  result.Success(null_value);
}

TEST(MethodResultTest, ErrorDeliversNoDetails) {
  StrictMock<MockMethodResult> result;
  EXPECT_CALL(result, DeliverError("ocr_failed", "Échec", nullptr));
  result.Error("ocr_failed", "Échec");
}

TEST(MethodResultTest, ErrorKeepsAnEmptyMessageEmpty) {
  StrictMock<MockMethodResult> result;
  EXPECT_CALL(result, DeliverError("bad_args", "", nullptr));
  result.Error("bad_args", "");
}

TEST(MethodResultTest, NotImplementedDeliversNotImplemented) {
  StrictMock<MockMethodResult> result;
  EXPECT_CALL(result, DeliverNotImplemented());
  result.NotImplemented();
}

}  // namespace
}  // namespace flutter
