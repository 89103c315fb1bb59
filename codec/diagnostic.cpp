#include "codec/diagnostic.h"

#include <iostream>

namespace flutter {

void WriteDiagnosticLine(std::string_view text) {
  std::cerr << text << std::endl;
}

}  // namespace flutter
