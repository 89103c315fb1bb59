#ifndef CODEC_METHOD_CODEC_H_
#define CODEC_METHOD_CODEC_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codec/encodable_value.h"
#include "engine_bridge/method_call.h"
#include "engine_bridge/method_result.h"

namespace flutter {

// Frames method calls and reply envelopes as byte messages.
template <typename T = EncodableValue>
class MethodCodec {
 public:
  MethodCodec() = default;
  MethodCodec(const MethodCodec&) = delete;
  MethodCodec& operator=(const MethodCodec&) = delete;
  virtual ~MethodCodec() = default;

  // The call held by `message`, or null when it holds none.
  virtual std::unique_ptr<MethodCall<T>> ParseMethodCall(const uint8_t* message,
                                                         size_t size) const = 0;

  virtual std::unique_ptr<std::vector<uint8_t>> SerializeMethodCall(
      const MethodCall<T>& call) const = 0;

  // `result` is null for a success without a value.
  virtual std::unique_ptr<std::vector<uint8_t>> SerializeSuccessReply(const T* result) const = 0;

  // `details` is null when the error carries none.
  virtual std::unique_ptr<std::vector<uint8_t>> SerializeErrorReply(const std::string& code,
                                                                    const std::string& message,
                                                                    const T* details) const = 0;

  // Hands the answer held by `reply` to `result`; false, with `result`
  // untouched, when the envelope is not recognised.
  virtual bool ParseReply(const uint8_t* reply, size_t size, MethodResult<T>* result) const = 0;
};

}  // namespace flutter

#endif  // CODEC_METHOD_CODEC_H_
