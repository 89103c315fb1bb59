#include "platform/engine/dropped_call.h"

#include <exception>
#include <iostream>

namespace norvalis_engine {

// Written piece by piece rather than as one string: the exception may be
// memory running out.
void ReportDroppedCall(const char* library, const char* where) noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    std::cerr << library << kCallDropped << where << ": " << error.what() << std::endl;
  } catch (...) {
    std::cerr << library << kCallDropped << where << ": " << kUnknownExceptionText << std::endl;
  }
}

}  // namespace norvalis_engine
