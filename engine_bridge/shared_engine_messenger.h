#ifndef ENGINE_BRIDGE_SHARED_ENGINE_MESSENGER_H_
#define ENGINE_BRIDGE_SHARED_ENGINE_MESSENGER_H_

#include <memory>

#include "engine_bridge/engine_api.h"

namespace flutter {

// Shares one reference to the library's messenger object, taken with
// FlutterDesktopMessengerAddRef; the last copy to go gives it back with
// FlutterDesktopMessengerRelease, once. Copies may go on any thread.
class SharedEngineMessenger {
 public:
  // Adopts `messenger`, the result of FlutterDesktopMessengerAddRef. A null
  // reference is held as nothing and never released.
  explicit SharedEngineMessenger(FlutterDesktopMessengerRef messenger);

  FlutterDesktopMessengerRef get() const { return messenger_.get(); }

 private:
  std::shared_ptr<FlutterDesktopMessenger> messenger_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_SHARED_ENGINE_MESSENGER_H_
