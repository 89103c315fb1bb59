#include "engine_bridge/engine_method_result.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codec/encodable_value.h"
#include "codec/hex_test_support.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/pending_reply.h"

namespace flutter {
namespace {

using codec_test::Hex;
using testing::ElementsAre;

// What reached a reply callback: the bytes, or nothing for a null pointer.
struct Reply {
  bool data_null;
  std::vector<uint8_t> bytes;
  bool operator==(const Reply&) const = default;
};

class EngineMethodResultTest : public testing::Test {
 protected:
  ReplyCallback Recorder() {
    return [this](const uint8_t* data, size_t size) {
      replies_.push_back({data == nullptr, data == nullptr
                                               ? std::vector<uint8_t>()
                                               : std::vector<uint8_t>(data, data + size)});
    };
  }

  const std::string kDuplicateLine = std::string(PendingReply::kDuplicateResultDiagnostic) + "\n";
  const std::string kUnansweredLine = std::string(PendingReply::kUnansweredDiagnostic) + "\n";
  const MethodCodec<EncodableValue>* codec_ = &CodecForSerializer(nullptr);
  std::vector<Reply> replies_;
};

TEST_F(EngineMethodResultTest, EachAnswerSendsItsEnvelopeAndGoesQuietly) {
  testing::internal::CaptureStderr();
  EngineMethodResult<EncodableValue>(Recorder(), codec_).NotImplemented();
  EngineMethodResult<EncodableValue>(Recorder(), codec_).Success(EncodableValue("ok"));
  EngineMethodResult<EncodableValue>(Recorder(), codec_).Error("bad_args", "");
  EngineMethodResult<EncodableValue>(Recorder(), codec_).DeliverSuccess(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_THAT(replies_, ElementsAre(Reply{true, {}}, Reply{false, Hex("00 07 02 6F 6B")},
                                    Reply{false, Hex("01 07 08 62 61 64 5F 61 72 67 73 00 00")},
                                    Reply{false, Hex("00 00")}));
}

TEST_F(EngineMethodResultTest, OnlyTheFirstAnswerIsSent) {
  testing::internal::CaptureStderr();
  {
    EngineMethodResult<EncodableValue> result(Recorder(), codec_);
    result.Success(EncodableValue("ok"));
    result.Error("ocr_failed", "x");
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kDuplicateLine);
  EXPECT_THAT(replies_, ElementsAre(Reply{false, Hex("00 07 02 6F 6B")}));

  replies_.clear();
  testing::internal::CaptureStderr();
  {
    EngineMethodResult<EncodableValue> result(Recorder(), codec_);
    result.NotImplemented();
    result.Success(EncodableValue(1));
    result.NotImplemented();
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kDuplicateLine + kDuplicateLine);
  EXPECT_THAT(replies_, ElementsAre(Reply{true, {}}));
}

TEST_F(EngineMethodResultTest, UnansweredResultWarnsAndNeverReplies) {
  testing::internal::CaptureStderr();
  { EngineMethodResult<EncodableValue> result(Recorder(), codec_); }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kUnansweredLine);
  EXPECT_TRUE(replies_.empty());
}

TEST_F(EngineMethodResultTest, AnswerFromInsideTheReplyIsADuplicate) {
  PendingReply* pending = nullptr;
  int calls = 0;
  PendingReply reply([&pending, &calls](const uint8_t*, size_t) {
    ++calls;
    pending->SendOnce(nullptr);
  });
  pending = &reply;
  testing::internal::CaptureStderr();
  reply.SendOnce(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kDuplicateLine);
  EXPECT_EQ(calls, 1);
}

TEST_F(EngineMethodResultTest, EmptyBytesSendNullData) {
  const std::vector<uint8_t> empty;
  PendingReply(Recorder()).SendOnce(&empty);
  EXPECT_THAT(replies_, ElementsAre(Reply{true, {}}));
}

}  // namespace
}  // namespace flutter
