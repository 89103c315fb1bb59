// The stand-in engine writes through the process's C runtime streams, which
// the host has already reopened on the new console. What is left is the C++
// streams' state: writes made while there was no console failed and left
// them in a failed state, which would silence them for good.

#include <iostream>

#include "engine_bridge/engine_api.h"

void FlutterDesktopResyncOutputStreams(void) {
  std::cout.clear();
  std::cerr.clear();
  std::clog.clear();
  std::wcout.clear();
  std::wcerr.clear();
  std::wclog.clear();
}
