#ifndef APP_APPLICATION_H_
#define APP_APPLICATION_H_

#include "app/app_host.h"

// The application the stand-in engine runs: it prints the links that later
// launches forward and closes the window once the first frame is up, so the
// program shows its window and ends with 0.
class Application {
 public:
  explicit Application(const NorvalisAppHost& host);

  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Called once, from NorvalisAppMain.
  void Start();

 private:
  AppHost host_;
};

#endif  // APP_APPLICATION_H_
