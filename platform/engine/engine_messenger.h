#ifndef PLATFORM_ENGINE_ENGINE_MESSENGER_H_
#define PLATFORM_ENGINE_ENGINE_MESSENGER_H_

#include <atomic>
#include <mutex>

#include "engine_bridge/engine_api.h"

namespace norvalis_engine {

class Engine;

// The messenger object that the host and the plugins hold. References keep
// it alive after its engine has ended; it then only tells that the engine is
// gone.
class EngineMessenger {
 public:
  // Starts with one reference, the engine's.
  explicit EngineMessenger(Engine* engine);
  EngineMessenger(const EngineMessenger&) = delete;
  EngineMessenger& operator=(const EngineMessenger&) = delete;

  void AddRef();
  // The last reference frees the object.
  void Release();

  // Recursive, so that a holder of the lock may call the messenger's
  // functions, which take it too.
  std::recursive_mutex& mutex() { return mutex_; }

  // The engine while it exists, null afterwards. Requires the lock, which
  // keeps the answer true while it is held.
  Engine* engine() const { return engine_; }

  // Takes the lock: from now on engine() is null.
  void MarkEngineEnded();

 private:
  ~EngineMessenger() = default;

  std::atomic<int> references_{1};
  std::recursive_mutex mutex_;
  Engine* engine_;
};

// The library's references are its objects' addresses.
inline FlutterDesktopMessengerRef ToRef(EngineMessenger* messenger) {
  return reinterpret_cast<FlutterDesktopMessengerRef>(messenger);
}

inline EngineMessenger* FromRef(FlutterDesktopMessengerRef messenger) {
  return reinterpret_cast<EngineMessenger*>(messenger);
}

}  // namespace norvalis_engine

#endif  // PLATFORM_ENGINE_ENGINE_MESSENGER_H_
