#include "app/application.h"

#include "app/link_printer.h"

Application::Application(const NorvalisAppHost& host) : host_(host) {}

void Application::Start() {
  PrintAppLinks(host_);
  host_.AfterNextFrame([this] { host_.CloseWindow(); });
}
