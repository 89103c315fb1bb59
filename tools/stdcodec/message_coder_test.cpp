#include "tools/stdcodec/message_coder.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/standard_codec_serializer.h"
#include "codec/standard_method_codec.h"

namespace stdcodec {
namespace {

using flutter::EncodableValue;
using flutter::ValueList;
using flutter::ValueMap;

const std::vector<uint8_t> kRecognizeCall{0x07, 0x09, 0x72, 0x65, 0x63, 0x6F, 0x67, 0x6E,
                                          0x69, 0x7A, 0x65, 0x0D, 0x01, 0x07, 0x04, 0x70,
                                          0x61, 0x74, 0x68, 0x07, 0x02, 0x61, 0x62};

std::string Line(std::string_view text) {
  return std::string(text) + "\n";
}

// Keeps what the codec writes on std::cerr for the test to inspect.
class MessageCoderTest : public testing::Test {
 protected:
  MessageCoderTest() : original_(std::cerr.rdbuf(captured_.rdbuf())) {}
  ~MessageCoderTest() override { std::cerr.rdbuf(original_); }

  std::string Captured() const { return captured_.str(); }

 private:
  std::stringstream captured_;
  std::streambuf* original_;
};

TEST_F(MessageCoderTest, DecodesAndEncodesTheRecognizeCall) {
  DecodedMessage decoded = DecodeMessage(MessageKind::kCall, kRecognizeCall);
  EXPECT_TRUE(decoded.Clean());
  EXPECT_EQ(decoded.message.kind, MessageKind::kCall);
  EXPECT_EQ(decoded.message.name, "recognize");
  const auto* args = decoded.message.value.GetIf<ValueMap>();
  ASSERT_NE(args, nullptr);
  ASSERT_EQ(args->size(), 1U);
  EXPECT_EQ(args->begin()->first.Get<std::string>(), "path");
  EXPECT_EQ(args->begin()->second.Get<std::string>(), "ab");
  EXPECT_EQ(EncodeMessage(decoded.message), kRecognizeCall);
  EXPECT_EQ(Captured(), "");
}

TEST_F(MessageCoderTest, EncodesEveryReplyAsTheCodecFramesIt) {
  Message success;
  success.kind = MessageKind::kEnvelope;
  EXPECT_EQ(EncodeMessage(success), (std::vector<uint8_t>{0x00, 0x00}));
  success.value = EncodableValue("ok");
  EXPECT_EQ(EncodeMessage(success), (std::vector<uint8_t>{0x00, 0x07, 0x02, 0x6F, 0x6B}));

  Message error;
  error.kind = MessageKind::kEnvelope;
  error.reply = Message::Reply::kError;
  error.name = "bad_args";
  EXPECT_EQ(EncodeMessage(error), (std::vector<uint8_t>{0x01, 0x07, 0x08, 0x62, 0x61, 0x64, 0x5F,
                                                        0x61, 0x72, 0x67, 0x73, 0x00, 0x00}));

  Message not_implemented;
  not_implemented.kind = MessageKind::kEnvelope;
  not_implemented.reply = Message::Reply::kNotImplemented;
  EXPECT_TRUE(EncodeMessage(not_implemented).empty());
}

TEST_F(MessageCoderTest, DecodesEveryReply) {
  DecodedMessage empty = DecodeMessage(MessageKind::kEnvelope, {});
  EXPECT_TRUE(empty.Clean());
  EXPECT_EQ(empty.message.reply, Message::Reply::kNotImplemented);

  DecodedMessage error = DecodeMessage(
      MessageKind::kEnvelope, {0x01, 0x07, 0x00, 0x07, 0x01, 0x78, 0x03, 0x01, 0x00, 0x00, 0x00});
  EXPECT_TRUE(error.Clean());
  EXPECT_EQ(error.message.reply, Message::Reply::kError);
  EXPECT_EQ(error.message.name, "");
  EXPECT_EQ(error.message.error_message, "x");
  EXPECT_EQ(error.message.value.Get<int32_t>(), 1);

  DecodedMessage success = DecodeMessage(MessageKind::kEnvelope, {0x00, 0x00});
  EXPECT_TRUE(success.Clean());
  EXPECT_EQ(success.message.reply, Message::Reply::kSuccess);
  EXPECT_TRUE(success.message.value.IsNull());
  EXPECT_EQ(Captured(), "");
}

TEST_F(MessageCoderTest, ReportsWhatHoldsNoMessage) {
  DecodedMessage unknown = DecodeMessage(MessageKind::kEnvelope, {0x02, 0x00});
  EXPECT_FALSE(unknown.decoded);
  EXPECT_EQ(unknown.problems,
            std::vector<std::string>{
                "no reply: the envelope byte is 02, neither 00 (success) nor 01 (error)"});

  // An int32 where the error code belongs.
  DecodedMessage bad_code =
      DecodeMessage(MessageKind::kEnvelope, {0x01, 0x03, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00});
  EXPECT_FALSE(bad_code.decoded);
  EXPECT_EQ(bad_code.problems,
            std::vector<std::string>{"no reply: the error's code is not a string, or its message "
                                     "neither a string nor null"});

  DecodedMessage no_name = DecodeMessage(MessageKind::kCall, {0x03, 0x05, 0x00, 0x00, 0x00});
  EXPECT_FALSE(no_name.decoded);
  EXPECT_EQ(no_name.codec_diagnostics, 1);
  EXPECT_EQ(no_name.problems,
            std::vector<std::string>{"no method call: the method name is not a string"});
  EXPECT_EQ(Captured(), Line(flutter::StandardMethodCodec::kNameNotStringDiagnostic));
}

TEST_F(MessageCoderTest, CountsAndPassesOnTheCodecsDiagnostics) {
  // An int32 with two of its four bytes.
  DecodedMessage truncated = DecodeMessage(MessageKind::kValue, {0x03, 0x05, 0x00});
  EXPECT_TRUE(truncated.decoded);
  EXPECT_FALSE(truncated.Clean());
  EXPECT_EQ(truncated.codec_diagnostics, 1);
  EXPECT_EQ(truncated.message.value.Get<int32_t>(), 0);
  EXPECT_EQ(Captured(), Line(flutter::ByteBufferStreamReader::kInvalidReadDiagnostic));
}

TEST_F(MessageCoderTest, ReportsBytesAfterTheMessage) {
  DecodedMessage value = DecodeMessage(MessageKind::kValue, {0x00, 0x01, 0x02});
  EXPECT_TRUE(value.decoded);
  EXPECT_EQ(value.codec_diagnostics, 0);
  EXPECT_EQ(value.problems,
            std::vector<std::string>{"2 bytes after the value, from offset 1, not decoded: 01 02"});

  std::vector<uint8_t> call = kRecognizeCall;
  call.insert(call.end(), 20, 0xEE);
  DecodedMessage long_tail = DecodeMessage(MessageKind::kCall, call);
  EXPECT_EQ(long_tail.message.name, "recognize");
  EXPECT_EQ(
      long_tail.problems,
      std::vector<std::string>{"20 bytes after the method call, from offset 23, not "
                               "decoded: EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE ..."});

  // Three values follow an error envelope's first byte, one a success's.
  DecodedMessage error =
      DecodeMessage(MessageKind::kEnvelope, {0x01, 0x07, 0x01, 0x65, 0x00, 0x00, 0x00});
  EXPECT_EQ(error.problems,
            std::vector<std::string>{"1 byte after the reply, from offset 6, not decoded: 00"});
  DecodedMessage success = DecodeMessage(MessageKind::kEnvelope, {0x00, 0x00, 0x00});
  EXPECT_EQ(success.problems,
            std::vector<std::string>{"1 byte after the reply, from offset 2, not decoded: 00"});
  EXPECT_EQ(Captured(), "");
}

TEST_F(MessageCoderTest, FindsTheEndOfAMessageWithoutRepeatingDiagnostics) {
  // An unknown type byte (0x0F) as the arguments leaves the next bytes unread.
  std::vector<uint8_t> call{0x07, 0x01, 0x6D, 0x0F, 0x01, 0x02};
  DecodedMessage decoded = DecodeMessage(MessageKind::kCall, call);
  EXPECT_TRUE(decoded.decoded);
  EXPECT_EQ(decoded.codec_diagnostics, 1);
  EXPECT_EQ(decoded.problems, std::vector<std::string>{"2 bytes after the method call, from "
                                                       "offset 4, not decoded: 01 02"});
  EXPECT_EQ(Captured(),
            Line(std::string(flutter::StandardCodecSerializer::kUnknownTypeDiagnostic) + "15"));
}

TEST_F(MessageCoderTest, DecodesAsDeepAsTheCodecAllows) {
  const int limit = flutter::StandardCodecSerializer::kMaxNestingDepth;
  EncodableValue deepest;
  for (int i = 0; i < limit; ++i) {
    deepest = EncodableValue(ValueList{deepest});
  }
  Message message;
  message.value = deepest;
  std::vector<uint8_t> bytes = EncodeMessage(message);
  DecodedMessage decoded = DecodeMessage(MessageKind::kValue, bytes);
  EXPECT_TRUE(decoded.Clean());
  EXPECT_EQ(EncodeMessage(decoded.message), bytes);

  bytes.insert(bytes.begin(), {0x0C, 0x01});
  DecodedMessage too_deep = DecodeMessage(MessageKind::kValue, bytes);
  EXPECT_EQ(too_deep.codec_diagnostics, 1);
  EXPECT_EQ(Captured(), Line(flutter::StandardCodecSerializer::kTooDeepDiagnostic));
}

TEST_F(MessageCoderTest, ReencodesWhatTheWriterWroteByteForByte) {
  ValueMap map;
  map[EncodableValue("path")] = EncodableValue("ab");
  map[EncodableValue(int32_t{1})] = EncodableValue(std::vector<float>{});
  map[EncodableValue(2.5)] = EncodableValue(std::vector<uint8_t>{1, 2, 3});
  ValueList every{EncodableValue(),
                  EncodableValue(true),
                  EncodableValue(int32_t{-1}),
                  EncodableValue(int64_t{1} << 40),
                  EncodableValue(0.1),
                  EncodableValue(std::string(300, 'x')),
                  EncodableValue(std::vector<int32_t>{}),
                  EncodableValue(std::vector<int64_t>{-5}),
                  EncodableValue(std::vector<double>{}),
                  EncodableValue(std::vector<float>{1.5F, 2.5F, 3.5F}),
                  EncodableValue(map)};
  for (MessageKind kind : {MessageKind::kValue, MessageKind::kCall, MessageKind::kEnvelope}) {
    Message message;
    message.kind = kind;
    message.name = "m";
    message.value = EncodableValue(every);
    std::vector<uint8_t> bytes = EncodeMessage(message);
    DecodedMessage decoded = DecodeMessage(kind, bytes);
    EXPECT_TRUE(decoded.Clean());
    EXPECT_EQ(EncodeMessage(decoded.message), bytes);
  }
  Message error;
  error.kind = MessageKind::kEnvelope;
  error.reply = Message::Reply::kError;
  error.name = "ocr_failed";
  error.error_message =
      "\xC3\x89"
      "chec";
  error.value = EncodableValue(every);
  std::vector<uint8_t> bytes = EncodeMessage(error);
  DecodedMessage decoded = DecodeMessage(MessageKind::kEnvelope, bytes);
  EXPECT_TRUE(decoded.Clean());
  EXPECT_EQ(EncodeMessage(decoded.message), bytes);
  EXPECT_EQ(Captured(), "");
}

}  // namespace
}  // namespace stdcodec
