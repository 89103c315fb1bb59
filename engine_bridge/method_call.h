#ifndef ENGINE_BRIDGE_METHOD_CALL_H_
#define ENGINE_BRIDGE_METHOD_CALL_H_

#include <memory>
#include <string>
#include <utility>

#include "codec/encodable_value.h"

namespace flutter {

// One decoded call on a method channel: the method's name and its arguments.
// Read-only once built; owned by the code that decoded it.
template <typename T = EncodableValue>
class MethodCall {
 public:
  // `args` may be null: a call without arguments. The standard method codec
  // always supplies a value, possibly the null value.
  MethodCall(std::string method, std::unique_ptr<T> args)
      : method_(std::move(method)), args_(std::move(args)) {}
  MethodCall(const MethodCall&) = delete;
  MethodCall& operator=(const MethodCall&) = delete;
  virtual ~MethodCall() = default;

  // The method name as UTF-8.
  const std::string& method() const { return method_; }

  // The arguments, or null when the call has none.
  const T* args() const { return args_.get(); }

 private:
  std::string method_;
  std::unique_ptr<T> args_;
};

}  // namespace flutter

#endif  // ENGINE_BRIDGE_METHOD_CALL_H_
