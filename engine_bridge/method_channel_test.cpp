#include "engine_bridge/method_channel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "codec/encodable_value.h"
#include "codec/hex_test_support.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/binary_messenger_impl.h"
#include "engine_bridge/pending_reply.h"
#include "engine_bridge/recording_engine_library.h"

namespace flutter {
namespace {

using codec_test::Hex;

constexpr char kChannel[] = "norvalis/ocr";
// "recognize" with {"path": "ab"}.
constexpr char kRecognizeCall[] =
    "07 09 72 65 63 6F 67 6E 69 7A 65 0D 01 07 04 70 61 74 68 07 02 61 62";

class MethodChannelTest : public testing::Test {
 protected:
  void SetUp() override {
    library().Reset();
    const FlutterDesktopEngineProperties properties = {};
    engine_ = FlutterDesktopEngineCreate(&properties);
    messenger_ = std::make_unique<BinaryMessengerImpl>(FlutterDesktopEngineGetMessenger(engine_));
    channel_ = std::make_unique<MethodChannel<EncodableValue>>(messenger_.get(), kChannel,
                                                               &CodecForSerializer(nullptr));
  }
  void TearDown() override {
    FlutterDesktopEngineDestroy(engine_);
    messenger_.reset();
    library().Reset();
  }

  static RecordingEngineLibrary& library() { return RecordingEngineLibrary::Get(); }

  FlutterDesktopEngineRef engine_ = nullptr;
  std::unique_ptr<BinaryMessengerImpl> messenger_;
  std::unique_ptr<MethodChannel<EncodableValue>> channel_;
};

TEST_F(MethodChannelTest, CallReachesTheHandlerAndItsAnswerIsTheResponse) {
  std::vector<std::string> methods;
  channel_->SetCallHandler([&methods](const MethodCall<EncodableValue>& call,
                                      std::unique_ptr<MethodResult<EncodableValue>> result) {
    methods.push_back(call.method());
    ASSERT_NE(call.args(), nullptr);
    const auto* args = call.args()->GetIf<ValueMap>();
    ASSERT_NE(args, nullptr);
    ASSERT_EQ(args->size(), 1u);
    EXPECT_EQ(args->at(EncodableValue("path")).Get<std::string>(), "ab");
    result->Success(EncodableValue("ok"));
  });
  testing::internal::CaptureStderr();
  const size_t handle = library().DeliverMessage(kChannel, Hex(kRecognizeCall));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(methods, std::vector<std::string>{"recognize"});
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().responses()[0].handle_id, handle);
  EXPECT_EQ(library().responses()[0].bytes, Hex("00 07 02 6F 6B"));
}

TEST_F(MethodChannelTest, UndecodableMessageGetsAnEmptyReplyWithoutTheHandler) {
  bool called = false;
  channel_->SetCallHandler(
      [&called](const MethodCall<EncodableValue>&, std::unique_ptr<MethodResult<EncodableValue>>) {
        called = true;
      });
  testing::internal::CaptureStderr();
  library().DeliverMessage(kChannel, Hex("03 01 00 00 00"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(StandardMethodCodec::kNameNotStringDiagnostic) + "\n" +
                std::string(ChannelCallAdapter<>::kUndecodableMessageDiagnostic) + kChannel + "\n");
  EXPECT_FALSE(called);
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_TRUE(library().responses()[0].data_null);
  EXPECT_TRUE(library().responses()[0].bytes.empty());
}

TEST_F(MethodChannelTest, KeptResultAnswersOnceLater) {
  std::unique_ptr<MethodResult<EncodableValue>> kept;
  channel_->SetCallHandler(
      [&kept](const MethodCall<EncodableValue>&,
              std::unique_ptr<MethodResult<EncodableValue>> result) { kept = std::move(result); });
  testing::internal::CaptureStderr();
  library().DeliverMessage(kChannel, Hex(kRecognizeCall));
  EXPECT_TRUE(library().responses().empty());
  kept->Error("ocr_failed", "");
  kept.reset();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().responses()[0].bytes[0], 0x01);
  EXPECT_EQ(library().add_ref_count(), library().release_count());
}

TEST_F(MethodChannelTest, HandlerThatDropsTheResultLeavesTheMessageUnanswered) {
  channel_->SetCallHandler(
      [](const MethodCall<EncodableValue>&, std::unique_ptr<MethodResult<EncodableValue>>) {});
  testing::internal::CaptureStderr();
  library().DeliverMessage(kChannel, Hex(kRecognizeCall));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(PendingReply::kUnansweredDiagnostic) + "\n");
  EXPECT_TRUE(library().responses().empty());
}

TEST_F(MethodChannelTest, EmptyHandlerUnregistersTheChannel) {
  channel_->SetCallHandler(
      [](const MethodCall<EncodableValue>&, std::unique_ptr<MethodResult<EncodableValue>> result) {
        result->NotImplemented();
      });
  ASSERT_TRUE(library().HasCallback(kChannel));
  channel_->SetCallHandler(nullptr);
  EXPECT_FALSE(library().HasCallback(kChannel));
  const auto& last = library().callback_registrations().back();
  EXPECT_EQ(last.channel, kChannel);
  EXPECT_EQ(last.callback, nullptr);
  EXPECT_EQ(last.user_data, nullptr);
}

TEST_F(MethodChannelTest, InstalledHandlerOutlivesTheChannelObject) {
  int calls = 0;
  channel_->SetCallHandler([&calls](const MethodCall<EncodableValue>& call,
                                    std::unique_ptr<MethodResult<EncodableValue>> result) {
    ++calls;
    result->Success(EncodableValue(call.method()));
  });
  channel_.reset();
  library().DeliverMessage(kChannel, Hex(kRecognizeCall));
  EXPECT_EQ(calls, 1);
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().responses()[0].bytes, Hex("00 07 09 72 65 63 6F 67 6E 69 7A 65"));
}

}  // namespace
}  // namespace flutter
