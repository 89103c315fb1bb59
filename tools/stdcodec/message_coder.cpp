#include "tools/stdcodec/message_coder.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/byte_buffer_stream_writer.h"
#include "codec/standard_codec_serializer.h"
#include "codec/standard_method_codec.h"
#include "engine_bridge/method_call.h"
#include "engine_bridge/method_result.h"
#include "tools/stdcodec/diagnostic_counter.h"

namespace stdcodec {

using flutter::EncodableValue;

namespace {

constexpr uint8_t kErrorEnvelope = 1;
constexpr size_t kMaxShownTrailingBytes = 16;
constexpr char kDigits[] = "0123456789ABCDEF";

// Keeps the answer ParseReply hands over.
class ReplyRecorder : public flutter::MethodResult<EncodableValue> {
 public:
  explicit ReplyRecorder(Message* message) : message_(message) {}

  void DeliverSuccess(const EncodableValue* result) override {
    message_->reply = Message::Reply::kSuccess;
    message_->value = result != nullptr ? *result : EncodableValue();
  }
  void DeliverError(const std::string& code,
                    const std::string& message,
                    const EncodableValue* details) override {
    message_->reply = Message::Reply::kError;
    message_->name = code;
    message_->error_message = message;
    message_->value = details != nullptr ? *details : EncodableValue();
  }
  void DeliverNotImplemented() override { message_->reply = Message::Reply::kNotImplemented; }

 private:
  Message* message_;
};

// Where the codec stopped reading a call or an envelope, which it does not
// tell: the same values are read again, silently, with the same serializer.
uint64_t FramedLength(MessageKind kind, const std::vector<uint8_t>& bytes) {
  DiagnosticCounter silence(DiagnosticCounter::Echo::kDrop);
  flutter::ByteBufferStreamReader reader(bytes.data(), bytes.size());
  int values = 1;
  if (kind == MessageKind::kCall) {
    values = 2;
  } else if (kind == MessageKind::kEnvelope) {
    values = reader.TakeByte() == kErrorEnvelope ? 3 : 1;
  }
  for (int i = 0; i < values; ++i) {
    flutter::SharedSerializer().ReadValue(&reader);
  }
  return reader.position();
}

std::string DescribeTrailingBytes(MessageKind kind,
                                  const std::vector<uint8_t>& bytes,
                                  uint64_t consumed) {
  uint64_t count = bytes.size() - consumed;
  std::string text = std::to_string(count) + (count == 1 ? " byte" : " bytes") + " after the " +
                     (kind == MessageKind::kValue  ? "value"
                      : kind == MessageKind::kCall ? "method call"
                                                   : "reply") +
                     ", from offset " + std::to_string(consumed) + ", not decoded:";
  uint64_t shown = std::min<uint64_t>(count, kMaxShownTrailingBytes);
  for (uint64_t i = consumed; i < consumed + shown; ++i) {
    text += ' ';
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  if (shown < count) {
    text += " ...";
  }
  return text;
}

}  // namespace

DecodedMessage DecodeMessage(MessageKind kind, const std::vector<uint8_t>& bytes) {
  DecodedMessage decoded;
  Message& message = decoded.message;
  message.kind = kind;
  const flutter::StandardMethodCodec& codec = flutter::CodecForSerializer(nullptr);
  uint64_t consumed = bytes.size();
  {
    DiagnosticCounter counter(DiagnosticCounter::Echo::kPassOn);
    switch (kind) {
      case MessageKind::kValue: {
        flutter::ByteBufferStreamReader reader(bytes.data(), bytes.size());
        message.value = flutter::SharedSerializer().ReadValue(&reader);
        consumed = reader.position();
        decoded.decoded = true;
        break;
      }
      case MessageKind::kCall: {
        std::unique_ptr<flutter::MethodCall<EncodableValue>> call =
            codec.ParseMethodCall(bytes.data(), bytes.size());
        if (call == nullptr) {
          decoded.problems.push_back("no method call: the method name is not a string");
          break;
        }
        message.name = call->method();
        message.value = call->args() != nullptr ? *call->args() : EncodableValue();
        decoded.decoded = true;
        break;
      }
      case MessageKind::kEnvelope: {
        // The not-implemented reply is sent without the codec.
        if (bytes.empty()) {
          message.reply = Message::Reply::kNotImplemented;
          decoded.decoded = true;
          break;
        }
        ReplyRecorder recorder(&message);
        try {
          decoded.decoded = codec.ParseReply(bytes.data(), bytes.size(), &recorder);
          if (!decoded.decoded) {
            std::string first = {kDigits[bytes[0] >> 4], kDigits[bytes[0] & 0xF]};
            decoded.problems.push_back("no reply: the envelope byte is " + first +
                                       ", neither 00 (success) nor 01 (error)");
          }
        } catch (const flutter::BadVariantAccess&) {
          decoded.problems.push_back(
              "no reply: the error's code is not a string, or its message neither a string "
              "nor null");
        }
        break;
      }
    }
    decoded.codec_diagnostics = counter.lines();
  }
  if (!decoded.decoded) {
    message = Message();
    message.kind = kind;
    return decoded;
  }
  if (kind != MessageKind::kValue && !bytes.empty()) {
    consumed = FramedLength(kind, bytes);
  }
  if (consumed < bytes.size()) {
    decoded.problems.push_back(DescribeTrailingBytes(kind, bytes, consumed));
  }
  return decoded;
}

std::vector<uint8_t> EncodeMessage(const Message& message) {
  const flutter::StandardMethodCodec& codec = flutter::CodecForSerializer(nullptr);
  switch (message.kind) {
    case MessageKind::kValue: {
      std::vector<uint8_t> bytes;
      flutter::ByteBufferStreamWriter writer(&bytes);
      flutter::SharedSerializer().WriteValue(message.value, &writer);
      return bytes;
    }
    case MessageKind::kCall:
      return std::move(*codec.SerializeMethodCall(flutter::MethodCall<EncodableValue>(
          message.name, std::make_unique<EncodableValue>(message.value))));
    case MessageKind::kEnvelope:
      switch (message.reply) {
        case Message::Reply::kSuccess:
          return std::move(*codec.SerializeSuccessReply(&message.value));
        case Message::Reply::kError:
          return std::move(
              *codec.SerializeErrorReply(message.name, message.error_message,
                                         message.value.IsNull() ? nullptr : &message.value));
        case Message::Reply::kNotImplemented:
          break;
      }
      break;
  }
  return {};
}

}  // namespace stdcodec
