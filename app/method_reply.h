#ifndef APP_METHOD_REPLY_H_
#define APP_METHOD_REPLY_H_

#include <cstdint>
#include <span>
#include <string>

#include "codec/encodable_value.h"

// The host's answer to one method call, as the application reads it.
struct MethodReply {
  enum class Kind {
    // `value` holds the result (the null value for a success without one).
    kSuccess,
    // `error_code`, `error_message` and `error_details` (null when none).
    kError,
    // The empty reply: no handler on the channel, or the method is unknown.
    kNotImplemented,
    // Bytes that hold no reply envelope.
    kUndecodable,
  };

  Kind kind = Kind::kUndecodable;
  flutter::EncodableValue value;
  std::string error_code;
  std::string error_message;
  flutter::EncodableValue error_details;
};

// Reads `reply` with the standard method codec. A truncated envelope decodes
// as the codec reads it (missing bytes as zeros and nulls), with the codec's
// own diagnostic lines on standard error.
MethodReply DecodeMethodReply(std::span<const uint8_t> reply);

#endif  // APP_METHOD_REPLY_H_
