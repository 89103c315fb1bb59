#include "platform/winrt/runtime/async_operation.h"

namespace winrt_layer {

UINT32 NextAsyncOperationId() {
  static std::atomic<UINT32> next_id{1};
  return next_id.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace winrt_layer
