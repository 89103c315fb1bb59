// The channel on the engine's messenger: what reaches the handler, what the
// channel answers itself, and a second installation.

#include "ocr/ocr_channel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "codec/encodable_value.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/channel_call_adapter.h"
#include "engine_bridge/flutter_engine.h"
#include "engine_bridge/recording_engine_library.h"
#include "ocr/ocr_channel_handler.h"

namespace {

using flutter::EncodableValue;

// The bytes of a call of `method` without arguments.
std::vector<uint8_t> CallBytes(const std::string& method) {
  const flutter::MethodCall<EncodableValue> call(method, nullptr);
  return *flutter::CodecForSerializer(nullptr).SerializeMethodCall(call);
}

std::vector<uint8_t> BadArgsReply() {
  return *flutter::CodecForSerializer(nullptr).SerializeErrorReply(kBadArgsCode,
                                                                   kMissingPathMessage, nullptr);
}

class OcrChannelTest : public testing::Test {
 protected:
  void SetUp() override {
    library().Reset();
    engine_ = std::make_unique<flutter::FlutterEngine>(bundle_);
  }
  void TearDown() override {
    engine_.reset();
    library().Reset();
  }

  static RecordingEngineLibrary& library() { return RecordingEngineLibrary::Get(); }

  ProjectBundle bundle_{L"data"};
  std::unique_ptr<flutter::FlutterEngine> engine_;
};

TEST_F(OcrChannelTest, CallsOnTheOcrChannelReachTheHandler) {
  InstallOcrChannel(engine_.get());

  ASSERT_TRUE(library().HasCallback(kOcrChannelName));
  EXPECT_FALSE(library().HasCallback("norvalis/other"));
  const size_t handle = library().DeliverMessage(kOcrChannelName, CallBytes("recognize"));
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().responses()[0].handle_id, handle);
  EXPECT_EQ(library().responses()[0].bytes, BadArgsReply());
}

TEST_F(OcrChannelTest, AMessageThatIsNoMethodCallIsAnsweredEmptyByTheChannel) {
  InstallOcrChannel(engine_.get());

  testing::internal::CaptureStderr();
  library().DeliverMessage(kOcrChannelName, {0x00, 0x00});
  // After the codec's own reason.
  EXPECT_THAT(
      testing::internal::GetCapturedStderr(),
      testing::EndsWith(
          std::string(flutter::ChannelCallAdapter<EncodableValue>::kUndecodableMessageDiagnostic) +
          kOcrChannelName + "\n"));
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_TRUE(library().responses()[0].bytes.empty());
}

TEST_F(OcrChannelTest, InstallingAgainKeepsOneRegistrationThatStillAnswersOnce) {
  InstallOcrChannel(engine_.get());
  InstallOcrChannel(engine_.get());

  library().DeliverMessage(kOcrChannelName, CallBytes("recognize"));
  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().responses()[0].bytes, BadArgsReply());
}

}  // namespace
