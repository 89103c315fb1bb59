#include "engine_bridge/stopped_exception.h"

#include <exception>
#include <iostream>

namespace flutter {

// Written piece by piece rather than as one string: the exception may be
// memory running out.
void ReportStoppedException(const char* edge) noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    std::cerr << kExceptionStoppedAt << edge << ": " << error.what() << std::endl;
  } catch (...) {
    std::cerr << kExceptionStoppedAt << edge << ": " << kUnknownExceptionText << std::endl;
  }
}

}  // namespace flutter
