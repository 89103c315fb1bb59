#ifndef ENGINE_BRIDGE_INCOMING_RESPONDER_H_
#define ENGINE_BRIDGE_INCOMING_RESPONDER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine_bridge/engine_api.h"
#include "engine_bridge/shared_engine_messenger.h"

namespace flutter {

// The reply callback of one incoming message. Its first call while the
// engine exists is the message's response; later calls are refused. It is
// moved, never copied, so that the once-only rule holds per message.
class IncomingResponder {
 public:
  static constexpr std::string_view kDuplicateResponseDiagnostic =
      "Error: Response can be set only once. Ignoring duplicate response.";

  IncomingResponder(SharedEngineMessenger messenger,
                    const FlutterDesktopMessageResponseHandle* response_handle);

  // Responds under the library's messenger lock. Once the engine has gone it
  // does nothing, silently, even for a duplicate.
  void operator()(const uint8_t* reply, size_t reply_size);

 private:
  SharedEngineMessenger messenger_;
  // Null once the response has been sent.
  const FlutterDesktopMessageResponseHandle* response_handle_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_INCOMING_RESPONDER_H_
