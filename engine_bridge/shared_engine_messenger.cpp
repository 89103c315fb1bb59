#include "engine_bridge/shared_engine_messenger.h"

namespace flutter {

namespace {

// shared_ptr calls its deleter even for a null pointer, so null is never
// handed to it.
std::shared_ptr<FlutterDesktopMessenger> Adopt(FlutterDesktopMessengerRef messenger) {
  if (messenger == nullptr) {
    return nullptr;
  }
  return std::shared_ptr<FlutterDesktopMessenger>(messenger, &FlutterDesktopMessengerRelease);
}

}  // namespace

SharedEngineMessenger::SharedEngineMessenger(FlutterDesktopMessengerRef messenger)
    : messenger_(Adopt(messenger)) {}

}  // namespace flutter
