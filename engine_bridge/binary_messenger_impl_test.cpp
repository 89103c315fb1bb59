#include "engine_bridge/binary_messenger_impl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine_bridge/incoming_responder.h"
#include "engine_bridge/recording_engine_library.h"
#include "engine_bridge/stopped_exception.h"

namespace flutter {
namespace {

using testing::ElementsAre;

class BinaryMessengerImplTest : public testing::Test {
 protected:
  void SetUp() override {
    library().Reset();
    const FlutterDesktopEngineProperties properties = {};
    engine_ = FlutterDesktopEngineCreate(&properties);
    messenger_ = std::make_unique<BinaryMessengerImpl>(FlutterDesktopEngineGetMessenger(engine_));
  }
  void TearDown() override {
    FlutterDesktopEngineDestroy(engine_);
    messenger_.reset();
    library().Reset();
  }

  static RecordingEngineLibrary& library() { return RecordingEngineLibrary::Get(); }

  // Registers a handler on `channel` that keeps each message's bytes and its
  // reply callback.
  void KeepReplies(const std::string& channel) {
    messenger_->SetChannelHandler(channel,
                                  [this](const uint8_t* message, size_t size, ReplyCallback reply) {
                                    received_data_.push_back(message);
                                    received_.emplace_back(message, message + size);
                                    replies_.push_back(std::move(reply));
                                  });
  }

  FlutterDesktopEngineRef engine_ = nullptr;
  std::unique_ptr<BinaryMessengerImpl> messenger_;
  std::vector<const uint8_t*> received_data_;
  std::vector<std::vector<uint8_t>> received_;
  std::vector<ReplyCallback> replies_;
};

TEST_F(BinaryMessengerImplTest, HandlerGetsTheLibrarysBytesAndAnswersOnce) {
  KeepReplies("norvalis/ocr");
  const std::vector<uint8_t> message = {0x07, 0x00, 0xFF};
  const size_t handle = library().DeliverMessage("norvalis/ocr", message);
  ASSERT_NE(handle, 0u);
  ASSERT_EQ(replies_.size(), 1u);
  EXPECT_EQ(received_data_[0], message.data()) << "incoming bytes must not be copied";
  EXPECT_EQ(received_[0], message);

  const std::vector<uint8_t> answer = {0x00, 0x07, 0x02, 'o', 'k'};
  testing::internal::CaptureStderr();
  replies_[0](answer.data(), answer.size());
  replies_[0](answer.data(), answer.size());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(IncomingResponder::kDuplicateResponseDiagnostic) + "\n");

  ASSERT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().responses()[0].handle_id, handle);
  EXPECT_EQ(library().responses()[0].bytes, answer);
  EXPECT_EQ(library().lock_count(), 2u);
  EXPECT_EQ(library().unlock_count(), 2u);
}

TEST_F(BinaryMessengerImplTest, ReplyAfterTheEngineWentIsSilent) {
  KeepReplies("a");
  library().DeliverMessage("a", {1});
  library().DeliverMessage("a", {2});
  replies_[1](nullptr, 0);
  library().set_messenger_available(false);

  testing::internal::CaptureStderr();
  replies_[0](nullptr, 0);
  replies_[1](nullptr, 0);  // A duplicate, but the engine is gone.
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(library().responses().size(), 1u);
  EXPECT_EQ(library().lock_count(), library().unlock_count());
}

TEST_F(BinaryMessengerImplTest, MessengerReferenceLastsAsLongAsTheLastHolderOfTheReply) {
  KeepReplies("a");
  library().DeliverMessage("a", {1});
  EXPECT_EQ(library().add_ref_count(), 1u);
  EXPECT_EQ(library().release_count(), 0u);

  ReplyCallback moved = std::move(replies_[0]);
  replies_.clear();
  EXPECT_EQ(library().release_count(), 0u);
  moved(nullptr, 0);
  EXPECT_EQ(library().release_count(), 0u);
  moved = nullptr;
  EXPECT_EQ(library().release_count(), 1u);

  // A handler that drops the reply unanswered releases at once, silently.
  messenger_->SetChannelHandler("b", [](const uint8_t*, size_t, ReplyCallback) {});
  testing::internal::CaptureStderr();
  library().DeliverMessage("b", {1});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(library().add_ref_count(), 2u);
  EXPECT_EQ(library().release_count(), 2u);
  EXPECT_EQ(library().responses().size(), 1u);
}

TEST_F(BinaryMessengerImplTest, ReplacingAHandlerKeepsItsEntryAndAddress) {
  std::vector<std::string> seen;
  messenger_->SetChannelHandler(
      "a", [&seen](const uint8_t*, size_t, ReplyCallback) { seen.push_back("first"); });
  messenger_->SetChannelHandler(
      "a", [&seen](const uint8_t*, size_t, ReplyCallback) { seen.push_back("second"); });
  messenger_->SetChannelHandler(
      "b", [&seen](const uint8_t*, size_t, ReplyCallback) { seen.push_back("other"); });
  library().DeliverMessage("a", {});
  library().DeliverMessage("b", {});
  EXPECT_THAT(seen, ElementsAre("second", "other"));

  const auto& registrations = library().callback_registrations();
  ASSERT_EQ(registrations.size(), 3u);
  EXPECT_EQ(registrations[0].callback, &OnEngineMessage);
  EXPECT_EQ(registrations[1].callback, &OnEngineMessage);
  EXPECT_EQ(registrations[0].user_data, registrations[1].user_data);
  EXPECT_NE(registrations[0].user_data, registrations[2].user_data);

  // One entry: a single removal stops delivery.
  messenger_->SetChannelHandler("a", nullptr);
  EXPECT_EQ(library().DeliverMessage("a", {}), 0u);
  EXPECT_TRUE(library().HasCallback("b"));
}

TEST_F(BinaryMessengerImplTest, RemovingAHandlerClearsTheLibrarysCallback) {
  KeepReplies("a");
  messenger_->SetChannelHandler("a", nullptr);
  messenger_->SetChannelHandler("never-registered", nullptr);

  const auto& registrations = library().callback_registrations();
  ASSERT_EQ(registrations.size(), 3u);
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(registrations[i].callback, nullptr);
    EXPECT_EQ(registrations[i].user_data, nullptr);
  }
  EXPECT_EQ(registrations[2].channel, "never-registered");
  EXPECT_FALSE(library().HasCallback("a"));

  KeepReplies("a");
  EXPECT_NE(library().DeliverMessage("a", {5}), 0u);
  EXPECT_EQ(received_.size(), 1u);
}

TEST_F(BinaryMessengerImplTest, SendUsesTheReplyOnlyWhenThereIsOne) {
  const std::vector<uint8_t> message = {1, 2, 3};
  messenger_->SendToChannel("out", message.data(), message.size(), nullptr);
  EXPECT_EQ(library().CallCount("FlutterDesktopMessengerSend:out"), 1u);

  std::vector<std::vector<uint8_t>> answers;
  auto token = std::make_shared<int>(0);
  messenger_->SendToChannel("out", message.data(), message.size(),
                            [&answers, token](const uint8_t* data, size_t size) {
                              answers.emplace_back(data, data + size);
                            });
  EXPECT_EQ(library().CallCount("FlutterDesktopMessengerSendWithReply:out"), 1u);
  ASSERT_EQ(library().sent().size(), 2u);
  EXPECT_EQ(library().sent()[1].bytes, message);
  EXPECT_TRUE(library().AnswerSend(1, {9, 8}));
  EXPECT_THAT(answers, ElementsAre(std::vector<uint8_t>{9, 8}));
  EXPECT_EQ(token.use_count(), 1) << "the reply must be freed after it ran";
}

TEST_F(BinaryMessengerImplTest, RefusedSendDisposesOfTheReplyUnrun) {
  library().set_send_with_reply_refused(true);
  bool ran = false;
  auto token = std::make_shared<int>(0);
  messenger_->SendToChannel("out", nullptr, 0,
                            [&ran, token](const uint8_t*, size_t) { ran = true; });
  EXPECT_FALSE(ran);
  EXPECT_TRUE(library().sent().empty());
  EXPECT_EQ(token.use_count(), 1);
}

TEST_F(BinaryMessengerImplTest, ThrowingHandlerDoesNotUnwindIntoTheLibraryAndIsReported) {
  messenger_->SetChannelHandler(
      "a", [](const uint8_t*, size_t, ReplyCallback) { throw std::runtime_error("boom"); });
  messenger_->SetChannelHandler("b", [](const uint8_t*, size_t, ReplyCallback) { throw 7; });
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(library().DeliverMessage("a", {}));
  EXPECT_NO_THROW(library().DeliverMessage("b", {}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(kExceptionStoppedAt) + "OnEngineMessage: boom\n" + kExceptionStoppedAt +
                "OnEngineMessage: " + kUnknownExceptionText + "\n");
  EXPECT_EQ(library().add_ref_count(), library().release_count());
}

TEST_F(BinaryMessengerImplTest, ThrowingReplyRunsOnceAndIsReported) {
  auto token = std::make_shared<int>(0);
  messenger_->SendToChannel("out", nullptr, 0, [token](const uint8_t*, size_t) {
    throw std::length_error("reply too long");
  });
  testing::internal::CaptureStderr();
  EXPECT_TRUE(library().AnswerSend(0, {1}));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(kExceptionStoppedAt) + "OnEngineReply: reply too long\n");
  EXPECT_EQ(token.use_count(), 1) << "the reply must be freed after it threw";
}

}  // namespace
}  // namespace flutter
