#ifndef TOOLS_STDCODEC_MESSAGE_H_
#define TOOLS_STDCODEC_MESSAGE_H_

#include <string>

#include "codec/encodable_value.h"

namespace stdcodec {

// The three forms of message the tool reads and writes.
enum class MessageKind {
  kValue,
  kCall,
  kEnvelope,
};

// One message in any of the three forms. Which fields count depends on
// `kind` and, for envelopes, on `reply`.
struct Message {
  enum class Reply {
    kSuccess,
    kError,
    kNotImplemented,
  };

  MessageKind kind = MessageKind::kValue;
  Reply reply = Reply::kSuccess;
  // The method of a call; the code of an error envelope.
  std::string name;
  // The message of an error envelope.
  std::string error_message;
  // The value itself, a call's arguments, a success's result or an error's
  // details.
  flutter::EncodableValue value;
};

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_MESSAGE_H_
