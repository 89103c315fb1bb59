#ifndef APP_RECOGNITION_JOB_H_
#define APP_RECOGNITION_JOB_H_

#include <cstddef>
#include <functional>
#include <vector>

#include "app/image_list.h"
#include "app/ocr_client.h"
#include "app/result_printer.h"

// Recognises a list of images with the host's OCR service, one request at a
// time (the next is sent once the previous one is answered), and prints each
// answer in the list's order, with headers when there is more than one.
//
// Belongs to the application thread.
class RecognitionJob {
 public:
  // `client` is not owned and must outlive this object.
  RecognitionJob(OcrClient& client, std::vector<ImageToRecognize> images);

  RecognitionJob(const RecognitionJob&) = delete;
  RecognitionJob& operator=(const RecognitionJob&) = delete;

  // Starts the requests; `on_done` runs once, after the last answer has been
  // printed, or at once for an empty list. Call once.
  void Run(std::function<void()> on_done);

 private:
  void RecognizeNext();

  OcrClient& client_;
  const std::vector<ImageToRecognize> images_;
  ResultPrinter printer_;
  size_t next_ = 0;
  std::function<void()> on_done_;
};

#endif  // APP_RECOGNITION_JOB_H_
