#ifndef TOOLS_STDCODEC_MESSAGE_CODER_H_
#define TOOLS_STDCODEC_MESSAGE_CODER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "tools/stdcodec/message.h"

namespace stdcodec {

// What the codec made of one message.
struct DecodedMessage {
  // Whether everything was decoded without a codec diagnostic or a problem.
  bool Clean() const { return decoded && codec_diagnostics == 0 && problems.empty(); }

  // False when the bytes hold no message of the kind asked for (a call whose
  // name is not a string, an unknown envelope); `message` is then empty.
  bool decoded = false;
  Message message;
  // Lines the codec wrote on standard error while decoding; they went on to
  // standard error as written.
  int codec_diagnostics = 0;
  // What the tool found beyond the codec's own diagnostics, one line each.
  std::vector<std::string> problems;
};

// Decodes `bytes` as a message of `kind` with the standard method codec and
// its shared serializer. An empty envelope is the not-implemented reply.
// Bytes after the message are left undecoded, as the codec leaves them, and
// reported among the problems.
DecodedMessage DecodeMessage(MessageKind kind, const std::vector<uint8_t>& bytes);

// The bytes the standard method codec and its shared serializer write for
// `message`.
std::vector<uint8_t> EncodeMessage(const Message& message);

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_MESSAGE_CODER_H_
