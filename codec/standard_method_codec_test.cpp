#include "codec/standard_method_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/byte_buffer_stream_writer.h"
#include "codec/custom_encodable_value.h"
#include "codec/encodable_value.h"
#include "codec/hex_test_support.h"
#include "codec/standard_codec_serializer.h"
#include "engine_bridge/method_call.h"
#include "engine_bridge/method_result.h"

namespace flutter {
namespace {

using Bytes = std::vector<uint8_t>;

using codec_test::Hex;

std::string Lines(std::string_view text, size_t count = 1) {
  std::string lines;
  for (size_t i = 0; i < count; ++i) {
    lines += std::string(text) + "\n";
  }
  return lines;
}

const std::string_view kInvalidRead = ByteBufferStreamReader::kInvalidReadDiagnostic;
const std::string_view kNameNotString = StandardMethodCodec::kNameNotStringDiagnostic;

const Bytes kRecognizeCall =
    Hex("07 09 72 65 63 6F 67 6E 69 7A 65 0D 01 07 04 70 61 74 68 07 02 61 62");

const StandardMethodCodec& Codec() {
  return CodecForSerializer(nullptr);
}

// The standard encoding of a value: two values with the same encoding hold
// the same content, floating-point numbers bit for bit.
Bytes Encoding(const EncodableValue& value) {
  Bytes bytes;
  ByteBufferStreamWriter writer(&bytes);
  SharedSerializer().WriteValue(value, &writer);
  return bytes;
}

// Keeps every answer the codec hands over.
class RecordingResult : public MethodResult<EncodableValue> {
 public:
  enum class Answer { kSuccess, kError, kNotImplemented };

  void DeliverSuccess(const EncodableValue* result) override {
    answers.push_back(Answer::kSuccess);
    value = result != nullptr ? std::optional<EncodableValue>(*result) : std::nullopt;
  }
  void DeliverError(const std::string& error_code,
                    const std::string& error_message,
                    const EncodableValue* details) override {
    answers.push_back(Answer::kError);
    code = error_code;
    message = error_message;
    value = details != nullptr ? std::optional<EncodableValue>(*details) : std::nullopt;
  }
  void DeliverNotImplemented() override { answers.push_back(Answer::kNotImplemented); }

  std::vector<Answer> answers;
  std::string code;
  std::string message;
  // The success value or the error details, when present.
  std::optional<EncodableValue> value;
};

using Answer = RecordingResult::Answer;

TEST(StandardMethodCodecCallTest, RecognizeCallHasItsKnownBytesBothWays) {
  const MethodCall<EncodableValue> call(
      "recognize",
      std::make_unique<EncodableValue>(ValueMap{{EncodableValue("path"), EncodableValue("ab")}}));
  testing::internal::CaptureStderr();
  EXPECT_EQ(*Codec().SerializeMethodCall(call), kRecognizeCall);
  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      Codec().ParseMethodCall(kRecognizeCall.data(), kRecognizeCall.size());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(parsed->method(), "recognize");
  ASSERT_NE(parsed->args(), nullptr);
  EXPECT_EQ(Encoding(*parsed->args()), Encoding(*call.args()));
}

TEST(StandardMethodCodecCallTest, AbsentAndNullArgumentsTravelAsNull) {
  const MethodCall<EncodableValue> absent("m", nullptr);
  const MethodCall<EncodableValue> null("m", std::make_unique<EncodableValue>());
  EXPECT_EQ(*Codec().SerializeMethodCall(absent), Hex("07 01 6D 00"));
  EXPECT_EQ(*Codec().SerializeMethodCall(null), Hex("07 01 6D 00"));

  const Bytes bytes = Hex("07 01 6D 00");
  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      Codec().ParseMethodCall(bytes.data(), bytes.size());
  ASSERT_NE(parsed, nullptr);
  ASSERT_NE(parsed->args(), nullptr);
  EXPECT_TRUE(parsed->args()->IsNull());
}

TEST(StandardMethodCodecCallTest, ArgumentsAreAlignedFromTheMessageStart) {
  const MethodCall<EncodableValue> call("recognize", std::make_unique<EncodableValue>(1.0));
  const Bytes expected =
      Hex("07 09 72 65 63 6F 67 6E 69 7A 65 06 00 00 00 00 00 00 00 00 00 00 F0 3F");
  const Bytes bytes = *Codec().SerializeMethodCall(call);
  EXPECT_EQ(bytes, expected);
  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      Codec().ParseMethodCall(bytes.data(), bytes.size());
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(parsed->args()->Get<double>(), 1.0);
}

TEST(StandardMethodCodecCallTest, CallEndingAfterTheNameHasNullArguments) {
  const Bytes bytes(kRecognizeCall.begin(), kRecognizeCall.begin() + 11);
  testing::internal::CaptureStderr();
  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      Codec().ParseMethodCall(bytes.data(), bytes.size());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead));
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(parsed->method(), "recognize");
  ASSERT_NE(parsed->args(), nullptr);
  EXPECT_TRUE(parsed->args()->IsNull());
}

TEST(StandardMethodCodecCallTest, NameThatIsNotAStringGivesNoCallAndReadsNoFurther) {
  const Bytes messages[] = {
      Hex("03 05 00 00 00 07 01 61"),
      Hex("00 07 01 61"),
      Hex("0C 01 07 01 61 00"),
      Hex("0F 07 01 61"),
  };
  for (const Bytes& message : messages) {
    testing::internal::CaptureStderr();
    std::unique_ptr<MethodCall<EncodableValue>> parsed =
        Codec().ParseMethodCall(message.data(), message.size());
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_EQ(parsed, nullptr);
    EXPECT_THAT(diagnostics, testing::EndsWith(Lines(kNameNotString)));
    if (message[0] != 0x0F) {
      EXPECT_EQ(diagnostics, Lines(kNameNotString));
    }
  }
}

TEST(StandardMethodCodecCallTest, EmptyMessageReportsTheMissingByteThenTheName) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Codec().ParseMethodCall(nullptr, 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead) + Lines(kNameNotString));
}

TEST(StandardMethodCodecCallTest, LegacyStringNameIsAcceptedAndTrailingBytesIgnored) {
  const Bytes bytes = Hex("05 02 6F 6B 03 07 00 00 00 FF FF 0C");
  testing::internal::CaptureStderr();
  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      Codec().ParseMethodCall(bytes.data(), bytes.size());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(parsed->method(), "ok");
  EXPECT_EQ(parsed->args()->Get<int32_t>(), 7);
}

TEST(StandardMethodCodecCallTest, TruncatedCallsOnlyReportMissingBytes) {
  const MethodCall<EncodableValue> call(
      "m",
      std::make_unique<EncodableValue>(ValueList{
          EncodableValue(2.5), EncodableValue(std::vector<int64_t>{1, 2}),
          EncodableValue(ValueMap{{EncodableValue("k"), EncodableValue(std::vector<float>{})}})}));
  const Bytes whole = *Codec().SerializeMethodCall(call);
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut);
    const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    testing::internal::CaptureStderr();
    std::unique_ptr<MethodCall<EncodableValue>> parsed =
        Codec().ParseMethodCall(prefix.data(), prefix.size());
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_THAT(diagnostics, testing::StartsWith(Lines(kInvalidRead)));
    if (cut == 0) {
      EXPECT_EQ(parsed, nullptr);
    } else {
      // The name's type byte is there, so a string name comes out, if short.
      ASSERT_NE(parsed, nullptr);
      ASSERT_NE(parsed->args(), nullptr);
      EXPECT_EQ(parsed->method(), cut >= 3 ? "m" : "");
    }
  }
}

TEST(StandardMethodCodecReplyTest, SuccessEnvelopes) {
  EXPECT_EQ(*Codec().SerializeSuccessReply(nullptr), Hex("00 00"));
  const EncodableValue null_value;
  EXPECT_EQ(*Codec().SerializeSuccessReply(&null_value), Hex("00 00"));
  const EncodableValue ok("ok");
  EXPECT_EQ(*Codec().SerializeSuccessReply(&ok), Hex("00 07 02 6F 6B"));
  // The envelope byte counts for the alignment.
  const EncodableValue one(1.0);
  EXPECT_EQ(*Codec().SerializeSuccessReply(&one),
            Hex("00 06 00 00 00 00 00 00 00 00 00 00 00 00 F0 3F"));
}

TEST(StandardMethodCodecReplyTest, ErrorEnvelopes) {
  EXPECT_EQ(*Codec().SerializeErrorReply("bad_args", "", nullptr),
            Hex("01 07 08 62 61 64 5F 61 72 67 73 00 00"));
  const EncodableValue one(1);
  EXPECT_EQ(*Codec().SerializeErrorReply("", "x", &one), Hex("01 07 00 07 01 78 03 01 00 00 00"));
  EXPECT_EQ(*Codec().SerializeErrorReply("e", "m", nullptr), Hex("01 07 01 65 07 01 6D 00"));
  const EncodableValue null_value;
  EXPECT_EQ(*Codec().SerializeErrorReply("e", "", &null_value), Hex("01 07 01 65 00 00"));
}

TEST(StandardMethodCodecReplyTest, UnknownEnvelopeIsRefusedUnread) {
  for (const Bytes& reply : {Hex("02"), Hex("02 00"), Hex("FF 07 01 65")}) {
    RecordingResult result;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Codec().ParseReply(reply.data(), reply.size(), &result));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(result.answers.empty());
  }
}

TEST(StandardMethodCodecReplyTest, EmptyReplyIsASuccessWithoutValue) {
  RecordingResult result;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(Codec().ParseReply(nullptr, 0, &result));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead, 2));
  EXPECT_THAT(result.answers, testing::ElementsAre(Answer::kSuccess));
  EXPECT_FALSE(result.value.has_value());
}

TEST(StandardMethodCodecReplyTest, SuccessReplies) {
  {
    RecordingResult result;
    const Bytes reply = Hex("00 00");
    EXPECT_TRUE(Codec().ParseReply(reply.data(), reply.size(), &result));
    EXPECT_THAT(result.answers, testing::ElementsAre(Answer::kSuccess));
    EXPECT_FALSE(result.value.has_value());
  }
  {
    RecordingResult result;
    const Bytes reply = Hex("00 07 02 6F 6B");
    EXPECT_TRUE(Codec().ParseReply(reply.data(), reply.size(), &result));
    EXPECT_THAT(result.answers, testing::ElementsAre(Answer::kSuccess));
    ASSERT_TRUE(result.value.has_value());
    EXPECT_EQ(result.value->Get<std::string>(), "ok");
  }
}

TEST(StandardMethodCodecReplyTest, ErrorReplies) {
  {
    RecordingResult result;
    const Bytes reply = Hex("01 07 01 65 00 00");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Codec().ParseReply(reply.data(), reply.size(), &result));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_THAT(result.answers, testing::ElementsAre(Answer::kError));
    EXPECT_EQ(result.code, "e");
    EXPECT_EQ(result.message, "");
    EXPECT_FALSE(result.value.has_value());
  }
  {
    RecordingResult result;
    const Bytes reply = Hex("01 05 01 65 07 01 6D 03 01 00 00 00");
    EXPECT_TRUE(Codec().ParseReply(reply.data(), reply.size(), &result));
    EXPECT_THAT(result.answers, testing::ElementsAre(Answer::kError));
    EXPECT_EQ(result.code, "e");
    EXPECT_EQ(result.message, "m");
    ASSERT_TRUE(result.value.has_value());
    EXPECT_EQ(result.value->Get<int32_t>(), 1);
  }
}

// The code must be a string and the message a string or null; strict access
// fails before anything reaches the result.
TEST(StandardMethodCodecReplyTest, MistypedErrorEnvelopeThrowsBeforeTheResultIsCalled) {
  const Bytes replies[] = {
      Hex("01 03 01 00 00 00 00 00"),        // int32 code
      Hex("01 00 00 00"),                    // null code
      Hex("01 07 01 65 03 01 00 00 00 00"),  // int32 message
      Hex("01 07 01 65 0C 01 07 01 6D 00"),  // list message
      Hex("01 07 01 65 02 03 01 00 00 00"),  // bool message, with details
  };
  for (const Bytes& reply : replies) {
    RecordingResult result;
    try {
      Codec().ParseReply(reply.data(), reply.size(), &result);
      ADD_FAILURE() << "no exception for " << testing::PrintToString(reply);
    } catch (const std::bad_variant_access& error) {
      EXPECT_STREQ(error.what(), "bad variant access");
    }
    EXPECT_TRUE(result.answers.empty());
  }

  // A bare error envelope reads a null code.
  RecordingResult result;
  const Bytes bare = Hex("01");
  testing::internal::CaptureStderr();
  EXPECT_THROW(Codec().ParseReply(bare.data(), bare.size(), &result), std::bad_variant_access);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Lines(kInvalidRead, 3));
  EXPECT_TRUE(result.answers.empty());
}

TEST(StandardMethodCodecReplyTest, TruncatedEnvelopesAnswerOnceOrThrowWithoutAnswering) {
  const EncodableValue details(
      ValueList{EncodableValue(std::vector<double>{0.5}), EncodableValue(int64_t{9})});
  const Bytes envelopes[] = {
      *Codec().SerializeSuccessReply(&details),
      *Codec().SerializeErrorReply("code", "message", &details),
  };
  for (const Bytes& whole : envelopes) {
    for (size_t cut = 0; cut < whole.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << "envelope " << int{whole[0]} << " cut at " << cut);
      const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
      RecordingResult result;
      testing::internal::CaptureStderr();
      bool recognised = false;
      bool threw = false;
      try {
        recognised = Codec().ParseReply(prefix.data(), prefix.size(), &result);
      } catch (const std::bad_variant_access&) {
        threw = true;
      }
      const std::string diagnostics = testing::internal::GetCapturedStderr();
      EXPECT_THAT(diagnostics, testing::StartsWith(Lines(kInvalidRead)));
      if (threw) {
        EXPECT_TRUE(result.answers.empty());
      } else {
        EXPECT_TRUE(recognised);
        ASSERT_EQ(result.answers.size(), 1U);
        // Cut before the envelope byte, the reply reads as a success.
        EXPECT_EQ(result.answers[0], cut == 0 || whole[0] == 0 ? Answer::kSuccess : Answer::kError);
      }
    }
  }
}

TEST(StandardMethodCodecRegistryTest, OneCodecPerSerializer) {
  const StandardMethodCodec& shared = CodecForSerializer(nullptr);
  EXPECT_EQ(&CodecForSerializer(nullptr), &shared);
  EXPECT_EQ(&CodecForSerializer(&SharedSerializer()), &shared);

  // Codecs live to the end of the process, and so must their serializers.
  static const StandardCodecSerializer other;
  const StandardMethodCodec& for_other = CodecForSerializer(&other);
  EXPECT_NE(&for_other, &shared);
  EXPECT_EQ(&CodecForSerializer(&other), &for_other);
}

// Reads type 0x80 as the string "ext" and writes custom values as 0x80.
class ExtendedSerializer : public StandardCodecSerializer {
 public:
  void WriteValue(const EncodableValue& value, ByteStreamWriter* stream) const override {
    if (value.Index() == EncodableValue::kCustom) {
      stream->PutByte(0x80);
      return;
    }
    StandardCodecSerializer::WriteValue(value, stream);
  }
  EncodableValue ReadValueOfType(uint8_t type, ByteStreamReader* stream) const override {
    if (type == 0x80) {
      return EncodableValue("ext");
    }
    return StandardCodecSerializer::ReadValueOfType(type, stream);
  }
};

TEST(StandardMethodCodecRegistryTest, CodecEncodesAndDecodesWithItsOwnSerializer) {
  static const ExtendedSerializer serializer;
  const StandardMethodCodec& codec = CodecForSerializer(&serializer);

  const Bytes call = Hex("80 0C 01 80");
  testing::internal::CaptureStderr();
  std::unique_ptr<MethodCall<EncodableValue>> parsed =
      codec.ParseMethodCall(call.data(), call.size());
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(parsed->method(), "ext");
  EXPECT_EQ(parsed->args()->Get<ValueList>().at(0).Get<std::string>(), "ext");

  const EncodableValue custom(CustomEncodableValue(1));
  EXPECT_EQ(*codec.SerializeSuccessReply(&custom), Hex("00 80"));
  EXPECT_EQ(*codec.SerializeErrorReply("c", "", &custom), Hex("01 07 01 63 00 80"));
  RecordingResult result;
  const Bytes reply = Hex("00 80");
  EXPECT_TRUE(codec.ParseReply(reply.data(), reply.size(), &result));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(result.value.has_value());
  EXPECT_EQ(result.value->Get<std::string>(), "ext");
}

// Random values of every kind the encoding carries, nested a few levels.
class RandomValueGenerator {
 public:
  explicit RandomValueGenerator(uint32_t seed) : engine_(seed) {}

  EncodableValue Next(int depth = 0) {
    switch (Uniform(0, depth < 3 ? 12 : 10)) {
      case 0:
        return EncodableValue();
      case 1:
        return EncodableValue(Uniform(0, 1) == 1);
      case 2:
        return EncodableValue(static_cast<int32_t>(engine_()));
      case 3:
        return EncodableValue(Int64());
      case 4:
        return EncodableValue(Double());
      case 5:
        return EncodableValue(Text());
      case 6:
        return EncodableValue(
            Elements<uint8_t>([this] { return static_cast<uint8_t>(engine_()); }));
      case 7:
        return EncodableValue(
            Elements<int32_t>([this] { return static_cast<int32_t>(engine_()); }));
      case 8:
        return EncodableValue(Elements<int64_t>([this] { return Int64(); }));
      case 9:
        return EncodableValue(Elements<double>([this] { return Double(); }));
      case 10:
        return EncodableValue(Elements<float>([this] {
          uint32_t bits = engine_();
          float number;
          std::memcpy(&number, &bits, sizeof(number));
          return std::isnan(number) ? 2.0F : number;
        }));
      case 11: {
        ValueList list(Uniform(0, 4));
        for (EncodableValue& element : list) {
          element = Next(depth + 1);
        }
        return EncodableValue(std::move(list));
      }
      default: {
        ValueMap map;
        for (size_t entries = Uniform(0, 4); entries > 0; --entries) {
          EncodableValue key = Next(depth + 1);
          map.emplace(std::move(key), Next(depth + 1));
        }
        return EncodableValue(std::move(map));
      }
    }
  }

  std::string Text() {
    std::string text(Uniform(0, 9), '\0');
    for (char& c : text) {
      c = static_cast<char>(engine_());
    }
    return text;
  }

 private:
  size_t Uniform(size_t low, size_t high) {
    return std::uniform_int_distribution<size_t>(low, high)(engine_);
  }

  int64_t Int64() { return static_cast<int64_t>((uint64_t{engine_()} << 32) | engine_()); }

  double Double() {
    uint64_t bits = static_cast<uint64_t>(Int64());
    double number;
    std::memcpy(&number, &bits, sizeof(number));
    return std::isnan(number) ? -0.0 : number;
  }

  template <typename T, typename Make>
  std::vector<T> Elements(Make make) {
    std::vector<T> elements(Uniform(0, 5));
    for (T& element : elements) {
      element = make();
    }
    return elements;
  }

  std::mt19937 engine_;
};

TEST(StandardMethodCodecRoundTripTest, RandomCallsAndRepliesReadBackEqual) {
  RandomValueGenerator generator(7);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 2000; ++i) {
    SCOPED_TRACE(i);
    const std::string name = generator.Text();
    const EncodableValue value = generator.Next();
    const Bytes encoding = Encoding(value);

    const MethodCall<EncodableValue> call(name, std::make_unique<EncodableValue>(value));
    const Bytes call_bytes = *Codec().SerializeMethodCall(call);
    std::unique_ptr<MethodCall<EncodableValue>> parsed =
        Codec().ParseMethodCall(call_bytes.data(), call_bytes.size());
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(parsed->method(), name);
    ASSERT_NE(parsed->args(), nullptr);
    EXPECT_EQ(Encoding(*parsed->args()), encoding);

    const Bytes success = *Codec().SerializeSuccessReply(&value);
    RecordingResult success_result;
    EXPECT_TRUE(Codec().ParseReply(success.data(), success.size(), &success_result));
    ASSERT_THAT(success_result.answers, testing::ElementsAre(Answer::kSuccess));
    ASSERT_EQ(success_result.value.has_value(), !value.IsNull());
    if (success_result.value) {
      EXPECT_EQ(Encoding(*success_result.value), encoding);
    }

    const std::string code = generator.Text();
    const std::string message = generator.Text();
    const Bytes error = *Codec().SerializeErrorReply(code, message, &value);
    RecordingResult error_result;
    EXPECT_TRUE(Codec().ParseReply(error.data(), error.size(), &error_result));
    ASSERT_THAT(error_result.answers, testing::ElementsAre(Answer::kError));
    EXPECT_EQ(error_result.code, code);
    EXPECT_EQ(error_result.message, message);
    ASSERT_EQ(error_result.value.has_value(), !value.IsNull());
    if (error_result.value) {
      EXPECT_EQ(Encoding(*error_result.value), encoding);
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace flutter
