#ifndef APP_APPLICATION_H_
#define APP_APPLICATION_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_host.h"
#include "app/ocr_client.h"
#include "app/recognition_job.h"

// Followed by the sample folder's path.
inline constexpr std::string_view kNoImageDiagnostic = "No image given, and no sample image in ";

// The application the stand-in engine runs. It recognises the images named
// by its entrypoint arguments (or, with none, the bundle's samples) and
// prints their text, prints the links that later launches forward, and
// closes the window once every answer is in and the first frame is up, so
// the program shows its window and ends with 0.
//
// Belongs to the application thread.
class Application {
 public:
  explicit Application(const NorvalisAppHost& host);

  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Called once, from NorvalisAppMain, with the entrypoint arguments.
  void Start(const std::vector<std::string>& arguments);

 private:
  void CloseWhenFinished();

  AppHost host_;
  OcrClient ocr_client_;
  std::optional<RecognitionJob> job_;
  bool recognition_done_ = false;
  bool first_frame_drawn_ = false;
};

#endif  // APP_APPLICATION_H_
