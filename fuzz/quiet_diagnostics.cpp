#include "fuzz/quiet_diagnostics.h"

#include <iostream>
#include <streambuf>

namespace norvalis_fuzz {

namespace {

// Accepts every character and keeps none.
class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type character) override { return traits_type::not_eof(character); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

}  // namespace

void SilenceCodecDiagnostics() {
  static NullBuffer* const buffer = new NullBuffer();
  std::cerr.rdbuf(buffer);
}

}  // namespace norvalis_fuzz
