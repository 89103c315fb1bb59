// A library for module_loader_test.cpp to load by its Windows name. It calls
// into the C library so that the C library is one of its dependencies.

#include <cstdlib>

extern "C" int Win32LoaderProbeAnswer() {
  return static_cast<int>(std::strtol("42", nullptr, 10));
}
