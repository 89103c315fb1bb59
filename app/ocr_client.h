#ifndef APP_OCR_CLIENT_H_
#define APP_OCR_CLIENT_H_

#include <functional>
#include <string>
#include <string_view>

#include "app/app_host.h"
#include "app/method_reply.h"

// The host's OCR service: a method channel with one method, which takes a
// map holding the image file's path.
inline constexpr std::string_view kOcrChannel = "norvalis/ocr";
inline constexpr std::string_view kOcrRecognizeMethod = "recognize";
inline constexpr std::string_view kOcrPathKey = "path";

// Asks the host's OCR service for the text of image files.
class OcrClient {
 public:
  using ReplyHandler = std::function<void(const MethodReply& reply)>;

  // `host` is not owned and must outlive this object.
  explicit OcrClient(AppHost& host);

  OcrClient(const OcrClient&) = delete;
  OcrClient& operator=(const OcrClient&) = delete;

  // Calls "recognize" with `path` (UTF-8, sent as it is; the host wants an
  // absolute one). `on_reply` runs once, on the application thread, with the
  // decoded answer: on success a string value, the text.
  void Recognize(const std::string& path, ReplyHandler on_reply);

 private:
  AppHost& host_;
};

#endif  // APP_OCR_CLIENT_H_
