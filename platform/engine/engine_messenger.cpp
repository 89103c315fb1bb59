#include "platform/engine/engine_messenger.h"

namespace norvalis_engine {

EngineMessenger::EngineMessenger(Engine* engine) : engine_(engine) {}

void EngineMessenger::AddRef() {
  references_.fetch_add(1, std::memory_order_relaxed);
}

void EngineMessenger::Release() {
  // Whatever the releasing thread did with the object happens before the
  // thread that frees it.
  if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    delete this;
  }
}

void EngineMessenger::MarkEngineEnded() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  engine_ = nullptr;
}

}  // namespace norvalis_engine
