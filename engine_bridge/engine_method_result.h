#ifndef ENGINE_BRIDGE_ENGINE_METHOD_RESULT_H_
#define ENGINE_BRIDGE_ENGINE_METHOD_RESULT_H_

#include <memory>
#include <string>
#include <utility>

#include "codec/encodable_value.h"
#include "codec/method_codec.h"
#include "engine_bridge/binary_messenger.h"
#include "engine_bridge/method_result.h"
#include "engine_bridge/pending_reply.h"

namespace flutter {

// The result handed to a channel's handler: encodes the answer with the
// channel's codec and sends it, once, through the incoming message's reply.
// A duplicate answer is encoded, then refused.
template <typename T = EncodableValue>
class EngineMethodResult : public MethodResult<T> {
 public:
  // `codec` is not owned and must outlive the result.
  EngineMethodResult(ReplyCallback reply, const MethodCodec<T>* codec)
      : reply_(std::make_unique<PendingReply>(std::move(reply))), codec_(codec) {}
  ~EngineMethodResult() override = default;

  void DeliverSuccess(const T* result) override {
    const std::unique_ptr<std::vector<uint8_t>> envelope = codec_->SerializeSuccessReply(result);
    reply_->SendOnce(envelope.get());
  }

  void DeliverError(const std::string& code,
                    const std::string& message,
                    const T* details) override {
    const std::unique_ptr<std::vector<uint8_t>> envelope =
        codec_->SerializeErrorReply(code, message, details);
    reply_->SendOnce(envelope.get());
  }

  // An empty reply: no envelope at all.
  void DeliverNotImplemented() override { reply_->SendOnce(nullptr); }

 private:
  std::unique_ptr<PendingReply> reply_;
  const MethodCodec<T>* codec_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_ENGINE_METHOD_RESULT_H_
