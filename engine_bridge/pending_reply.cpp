#include "engine_bridge/pending_reply.h"

#include <utility>

#include "codec/diagnostic.h"

namespace flutter {

PendingReply::PendingReply(ReplyCallback reply) : reply_(std::move(reply)) {}

PendingReply::~PendingReply() {
  if (reply_) {
    WriteDiagnosticLine(kUnansweredDiagnostic);
  }
}

void PendingReply::SendOnce(const std::vector<uint8_t>* bytes) {
  if (!reply_) {
    WriteDiagnosticLine(kDuplicateResultDiagnostic);
    return;
  }
  const uint8_t* data = bytes != nullptr && !bytes->empty() ? bytes->data() : nullptr;
  const size_t size = bytes != nullptr ? bytes->size() : 0;
  // Spent before the call, so an answer given from inside it is a duplicate.
  const ReplyCallback reply = std::exchange(reply_, nullptr);
  reply(data, size);
}

}  // namespace flutter
