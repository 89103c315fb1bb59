#include "app/application.h"

#include "app/image_list.h"
#include "app/link_printer.h"
#include "app/print_line.h"

Application::Application(const NorvalisAppHost& host) : host_(host), ocr_client_(host_) {}

void Application::Start(const std::vector<std::string>& arguments) {
  PrintAppLinks(host_);
  host_.AfterNextFrame([this] {
    first_frame_drawn_ = true;
    CloseWhenFinished();
  });

  std::vector<ImageToRecognize> images = ImagesFromArguments(arguments);
  if (images.empty()) {
    const std::filesystem::path samples = SampleFolder();
    images = ImagesInFolder(samples);
    if (images.empty()) {
      PrintErrorLine(std::string(kNoImageDiagnostic) + PathToUtf8(samples));
    }
  }
  job_.emplace(ocr_client_, std::move(images));
  job_->Run([this] {
    recognition_done_ = true;
    CloseWhenFinished();
  });
}

void Application::CloseWhenFinished() {
  if (recognition_done_ && first_frame_drawn_) {
    host_.CloseWindow();
  }
}
