#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_bridge/engine_api.h"
#include "platform/engine/dropped_call.h"
#include "platform/engine/testing/engine_test.h"

namespace engine_test {
namespace {

using EngineMessagingTest = EngineTest;

TEST_F(EngineMessagingTest, AppMessageIsHandledFromTheMainLoopAndItsAnswerReturnsToTheApp) {
  Listen("probe/host", "pong");
  Listen("probe/reply");
  StartProbe();
  Command("send probe/host ping");
  ASSERT_TRUE(PumpUntil([this] { return !MessagesOn("probe/reply").empty(); }));
  ASSERT_EQ(MessagesOn("probe/host"), std::vector<std::string>{"ping"});
  for (const HostMessage& message : host_messages_) {
    EXPECT_EQ(message.thread_id, MainThread()) << message.channel;
  }
  EXPECT_EQ(MessagesOn("probe/reply"), std::vector<std::string>{"reply:pong"});
}

TEST_F(EngineMessagingTest, ChannelWithoutHostCallbackIsAnsweredEmptyAsAnEmptyAnswerIs) {
  Listen("probe/reply");
  Listen("probe/removed", "never");
  Listen("probe/empty", "");
  StartProbe();
  FlutterDesktopMessengerSetCallback(messenger_, "probe/removed", nullptr, nullptr);
  Command("send probe/nobody x");
  Command("send probe/removed y");
  Command("send probe/empty z");
  ASSERT_TRUE(PumpUntil([this] { return MessagesOn("probe/reply").size() == 3; }));
  EXPECT_EQ(MessagesOn("probe/reply"),
            (std::vector<std::string>{"reply:null", "reply:null", "reply:null"}));
  EXPECT_TRUE(MessagesOn("probe/removed").empty());
  EXPECT_EQ(MessagesOn("probe/empty"), std::vector<std::string>{"z"});
}

TEST_F(EngineMessagingTest, ResponseHandleIsSpentByItsFirstAnswer) {
  Listen("probe/held", std::nullopt);
  Listen("probe/reply");
  StartProbe();
  Command("send probe/held x");
  ASSERT_TRUE(PumpUntil([this] { return pending_responses_.size() == 1; }));
  const std::string first = "first";
  const std::string second = "second";
  FlutterDesktopMessengerSendResponse(messenger_, pending_responses_[0],
                                      reinterpret_cast<const uint8_t*>(first.data()), first.size());
  FlutterDesktopMessengerSendResponse(messenger_, pending_responses_[0],
                                      reinterpret_cast<const uint8_t*>(second.data()),
                                      second.size());
  Flush();
  EXPECT_EQ(MessagesOn("probe/reply"), std::vector<std::string>{"reply:first"});
}

TEST_F(EngineMessagingTest, HostMessageIsAnsweredByTheAppHandlerOnTheMainThreadOnce) {
  StartProbe();
  ReplyRecord* reply = SendToApp("probe/echo", "hello");
  // Replies come from the message loop only.
  EXPECT_EQ(reply->calls, 0);
  ASSERT_TRUE(PumpUntil([reply] { return reply->calls > 0; }));
  Flush();
  EXPECT_EQ(reply->calls, 1);
  EXPECT_FALSE(reply->null);
  EXPECT_EQ(reply->bytes, "hello");
  EXPECT_EQ(reply->thread_id, MainThread());
}

TEST_F(EngineMessagingTest, AnExceptionInTheAppIsReportedAndTheAppGoesOn) {
  StartProbe();
  testing::internal::CaptureStderr();
  ReplyRecord* thrown = SendToApp("probe/command", "throw");
  // The echo behind it comes back only once the thrown task has ended.
  Flush();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(norvalis_engine::kEngineLibrary) + norvalis_engine::kCallDropped +
                "a task of the application thread: probe threw\n");
  EXPECT_EQ(thrown->calls, 0);
}

TEST_F(EngineMessagingTest, AppChannelWithoutHandlerIsAnsweredEmpty) {
  StartProbe();
  ReplyRecord* reply = SendToApp("probe/unknown", "anyone?");
  ASSERT_TRUE(PumpUntil([reply] { return reply->calls > 0; }));
  EXPECT_TRUE(reply->null);
  EXPECT_EQ(reply->thread_id, MainThread());
}

TEST_F(EngineMessagingTest, ReloadingSystemFontsTellsTheApplication) {
  Listen("probe/system");
  StartProbe();
  FlutterDesktopEngineReloadSystemFonts(running_engine());
  ASSERT_TRUE(PumpUntil([this] { return !MessagesOn("probe/system").empty(); }));
  EXPECT_EQ(MessagesOn("probe/system"), std::vector<std::string>{R"({"type":"fontsChange"})"});
}

}  // namespace
}  // namespace engine_test
