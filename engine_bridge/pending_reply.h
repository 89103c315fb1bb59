#ifndef ENGINE_BRIDGE_PENDING_REPLY_H_
#define ENGINE_BRIDGE_PENDING_REPLY_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine_bridge/binary_messenger.h"

namespace flutter {

// The reply callback of one method call, used at most once. Going unused is
// reported when the holder is destroyed.
class PendingReply {
 public:
  static constexpr std::string_view kDuplicateResultDiagnostic =
      "Error: Only one of Success, Error, or NotImplemented can be called,"
      " and it can be called exactly once. Ignoring duplicate result.";
  static constexpr std::string_view kUnansweredDiagnostic =
      "Warning: Failed to respond to a message. This is a memory leak.";

  explicit PendingReply(ReplyCallback reply);
  PendingReply(const PendingReply&) = delete;
  PendingReply& operator=(const PendingReply&) = delete;
  // Drops an unused callback without calling it: that message stays
  // unanswered.
  ~PendingReply();

  // Calls the callback with `bytes` (null or empty: no bytes) and lets go of
  // it; a second call only reports the duplicate.
  void SendOnce(const std::vector<uint8_t>* bytes);

 private:
  ReplyCallback reply_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_PENDING_REPLY_H_
