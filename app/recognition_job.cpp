#include "app/recognition_job.h"

#include <utility>

RecognitionJob::RecognitionJob(OcrClient& client, std::vector<ImageToRecognize> images)
    : client_(client), images_(std::move(images)), printer_(images_.size() > 1) {}

void RecognitionJob::Run(std::function<void()> on_done) {
  on_done_ = std::move(on_done);
  RecognizeNext();
}

void RecognitionJob::RecognizeNext() {
  if (next_ == images_.size()) {
    on_done_();
    return;
  }
  const ImageToRecognize& image = images_[next_++];
  client_.Recognize(image.path, [this, &image](const MethodReply& reply) {
    printer_.Print(image.shown_path, reply);
    RecognizeNext();
  });
}
