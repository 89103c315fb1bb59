#include "app/method_reply.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "codec/standard_method_codec.h"

namespace {

const flutter::StandardMethodCodec& Codec() {
  return flutter::CodecForSerializer(nullptr);
}

TEST(MethodReplyTest, EmptyReplyIsNotImplemented) {
  EXPECT_EQ(DecodeMethodReply({}).kind, MethodReply::Kind::kNotImplemented);
}

TEST(MethodReplyTest, SuccessCarriesItsValue) {
  const flutter::EncodableValue text(std::string("Château"));
  const auto bytes = Codec().SerializeSuccessReply(&text);

  const MethodReply reply = DecodeMethodReply(*bytes);

  EXPECT_EQ(reply.kind, MethodReply::Kind::kSuccess);
  EXPECT_EQ(reply.value.Get<std::string>(), "Château");
}

TEST(MethodReplyTest, ErrorCarriesCodeMessageAndDetails) {
  const flutter::EncodableValue details(int32_t{7});
  const auto with_details =
      Codec().SerializeErrorReply("ocr_failed", "Fichier illisible", &details);
  const auto without_details = Codec().SerializeErrorReply("bad_args", "", nullptr);

  const MethodReply first = DecodeMethodReply(*with_details);
  const MethodReply second = DecodeMethodReply(*without_details);

  EXPECT_EQ(first.kind, MethodReply::Kind::kError);
  EXPECT_EQ(first.error_code, "ocr_failed");
  EXPECT_EQ(first.error_message, "Fichier illisible");
  EXPECT_EQ(first.error_details.Get<int32_t>(), 7);
  EXPECT_EQ(second.error_code, "bad_args");
  EXPECT_EQ(second.error_message, "");
  EXPECT_TRUE(second.error_details.IsNull());
}

TEST(MethodReplyTest, BytesWithoutEnvelopeAreUndecodable) {
  // An envelope byte that is neither success nor error; then an error
  // envelope whose code is the int32 1.
  const std::vector<uint8_t> unknown_envelope = {0x02, 0x00};
  const std::vector<uint8_t> numeric_code = {0x01, 0x03, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00};

  EXPECT_EQ(DecodeMethodReply(unknown_envelope).kind, MethodReply::Kind::kUndecodable);
  EXPECT_EQ(DecodeMethodReply(numeric_code).kind, MethodReply::Kind::kUndecodable);
}

}  // namespace
