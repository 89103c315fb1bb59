#ifndef OCR_MESSAGE_FAILURE_H_
#define OCR_MESSAGE_FAILURE_H_

#include <string>
#include <utility>

// A failure raised by the OCR service itself with the text the application
// is shown, as opposed to a platform error, whose text is looked up.
class MessageFailure {
 public:
  explicit MessageFailure(std::string message) : message_(std::move(message)) {}

  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

#endif  // OCR_MESSAGE_FAILURE_H_
