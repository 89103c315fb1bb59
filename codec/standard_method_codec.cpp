#include "codec/standard_method_codec.h"

#include <map>
#include <mutex>
#include <utility>

#include "codec/byte_buffer_stream_reader.h"
#include "codec/byte_buffer_stream_writer.h"
#include "codec/diagnostic.h"

namespace flutter {

namespace {

constexpr uint8_t kSuccessEnvelope = 0;
constexpr uint8_t kErrorEnvelope = 1;

// `value`, or the null value when it is absent; a reference either way, so
// that a large value is written in place rather than copied first.
const EncodableValue& ValueOrNull(const EncodableValue* value) {
  // An object, not a leaked pointer: a library that carries the codec may
  // be unloaded before the process ends, and must take it along.
  static const EncodableValue null_value;
  return value != nullptr ? *value : null_value;
}

}  // namespace

StandardMethodCodec::StandardMethodCodec(const StandardCodecSerializer* serializer)
    : serializer_(serializer) {}

StandardMethodCodec::~StandardMethodCodec() = default;

std::unique_ptr<MethodCall<EncodableValue>> StandardMethodCodec::ParseMethodCall(
    const uint8_t* message,
    size_t size) const {
  ByteBufferStreamReader reader(message, size);
  EncodableValue name = serializer_->ReadValue(&reader);
  std::string* method = name.GetIf<std::string>();
  if (method == nullptr) {
    WriteDiagnosticLine(kNameNotStringDiagnostic);
    return nullptr;
  }
  auto args = std::make_unique<EncodableValue>(serializer_->ReadValue(&reader));
  return std::make_unique<MethodCall<EncodableValue>>(std::move(*method), std::move(args));
}

std::unique_ptr<std::vector<uint8_t>> StandardMethodCodec::SerializeMethodCall(
    const MethodCall<EncodableValue>& call) const {
  auto message = std::make_unique<std::vector<uint8_t>>();
  ByteBufferStreamWriter writer(message.get());
  serializer_->WriteValue(EncodableValue(call.method()), &writer);
  serializer_->WriteValue(ValueOrNull(call.args()), &writer);
  return message;
}

std::unique_ptr<std::vector<uint8_t>> StandardMethodCodec::SerializeSuccessReply(
    const EncodableValue* result) const {
  auto reply = std::make_unique<std::vector<uint8_t>>();
  ByteBufferStreamWriter writer(reply.get());
  writer.PutByte(kSuccessEnvelope);
  serializer_->WriteValue(ValueOrNull(result), &writer);
  return reply;
}

std::unique_ptr<std::vector<uint8_t>> StandardMethodCodec::SerializeErrorReply(
    const std::string& code,
    const std::string& message,
    const EncodableValue* details) const {
  auto reply = std::make_unique<std::vector<uint8_t>>();
  ByteBufferStreamWriter writer(reply.get());
  writer.PutByte(kErrorEnvelope);
  serializer_->WriteValue(EncodableValue(code), &writer);
  serializer_->WriteValue(message.empty() ? EncodableValue() : EncodableValue(message), &writer);
  serializer_->WriteValue(ValueOrNull(details), &writer);
  return reply;
}

bool StandardMethodCodec::ParseReply(const uint8_t* reply,
                                     size_t size,
                                     MethodResult<EncodableValue>* result) const {
  ByteBufferStreamReader reader(reply, size);
  uint8_t envelope = reader.TakeByte();
  if (envelope == kSuccessEnvelope) {
    EncodableValue value = serializer_->ReadValue(&reader);
    result->DeliverSuccess(value.IsNull() ? nullptr : &value);
    return true;
  }
  if (envelope == kErrorEnvelope) {
    EncodableValue code = serializer_->ReadValue(&reader);
    EncodableValue message = serializer_->ReadValue(&reader);
    EncodableValue details = serializer_->ReadValue(&reader);
    const std::string& code_text = code.Get<std::string>();
    const std::string message_text = message.IsNull() ? std::string() : message.Get<std::string>();
    result->DeliverError(code_text, message_text, details.IsNull() ? nullptr : &details);
    return true;
  }
  return false;
}

const StandardMethodCodec& CodecForSerializer(const StandardCodecSerializer* serializer) {
  if (serializer == nullptr) {
    serializer = &SharedSerializer();
  }
  // Never destroyed: channels keep pointers to their codec until exit.
  static auto* const registry =
      new std::map<const StandardCodecSerializer*, std::unique_ptr<StandardMethodCodec>>();
  static std::mutex registry_mutex;
  std::lock_guard<std::mutex> lock(registry_mutex);
  std::unique_ptr<StandardMethodCodec>& codec = (*registry)[serializer];
  if (!codec) {
    codec = std::make_unique<StandardMethodCodec>(serializer);
  }
  return *codec;
}

}  // namespace flutter
