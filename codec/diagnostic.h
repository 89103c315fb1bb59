#ifndef CODEC_DIAGNOSTIC_H_
#define CODEC_DIAGNOSTIC_H_

#include <string_view>

namespace flutter {

// Writes one diagnostic line to the standard error stream, then a newline and
// a flush, so the line is out even if the process dies right after.
void WriteDiagnosticLine(std::string_view text);

}  // namespace flutter

#endif  // CODEC_DIAGNOSTIC_H_
