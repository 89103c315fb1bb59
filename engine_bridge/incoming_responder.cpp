#include "engine_bridge/incoming_responder.h"

#include <utility>

#include "codec/diagnostic.h"

namespace flutter {

namespace {

// Holds the library's messenger lock for its lifetime, so the engine cannot
// go between the availability test and the response.
class ScopedMessengerLock {
 public:
  explicit ScopedMessengerLock(FlutterDesktopMessengerRef messenger)
      : locked_(FlutterDesktopMessengerLock(messenger)) {}
  ScopedMessengerLock(const ScopedMessengerLock&) = delete;
  ScopedMessengerLock& operator=(const ScopedMessengerLock&) = delete;
  ~ScopedMessengerLock() {
    if (locked_ != nullptr) {
      FlutterDesktopMessengerUnlock(locked_);
    }
  }

 private:
  FlutterDesktopMessengerRef locked_;
};

}  // namespace

IncomingResponder::IncomingResponder(SharedEngineMessenger messenger,
                                     const FlutterDesktopMessageResponseHandle* response_handle)
    : messenger_(std::move(messenger)), response_handle_(response_handle) {}

void IncomingResponder::operator()(const uint8_t* reply, size_t reply_size) {
  const ScopedMessengerLock lock(messenger_.get());
  if (!FlutterDesktopMessengerIsAvailable(messenger_.get())) {
    return;
  }
  if (response_handle_ == nullptr) {
    WriteDiagnosticLine(kDuplicateResponseDiagnostic);
    return;
  }
  FlutterDesktopMessengerSendResponse(messenger_.get(), response_handle_, reply, reply_size);
  response_handle_ = nullptr;
}

}  // namespace flutter
