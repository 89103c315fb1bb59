#ifndef ENGINE_BRIDGE_METHOD_RESULT_H_
#define ENGINE_BRIDGE_METHOD_RESULT_H_

#include <string>

#include "codec/encodable_value.h"

namespace flutter {

// The answer to one method call. A handler calls exactly one of Success, Error
// and NotImplemented, exactly once, on the thread that runs the handler;
// implementations decide what a further call does.
template <typename T = EncodableValue>
class MethodResult {
 public:
  MethodResult() = default;
  MethodResult(const MethodResult&) = delete;
  MethodResult& operator=(const MethodResult&) = delete;
  virtual ~MethodResult() = default;

  // `result` is null for a success without a value.
  virtual void DeliverSuccess(const T* result) = 0;
  // `details` is null when the error carries none.
  virtual void DeliverError(const std::string& code,
                            const std::string& message,
                            const T* details) = 0;
  virtual void DeliverNotImplemented() = 0;

  void Success(const T& result) { DeliverSuccess(&result); }
  void Error(const std::string& code, const std::string& message) {
    DeliverError(code, message, nullptr);
  }
  void NotImplemented() { DeliverNotImplemented(); }
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_METHOD_RESULT_H_
