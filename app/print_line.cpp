#include "app/print_line.h"

#include <cstdio>

namespace {

void Write(std::FILE* stream, std::string_view text, bool end_line) {
  std::fwrite(text.data(), 1, text.size(), stream);
  if (end_line) {
    std::fputc('\n', stream);
  }
  std::fflush(stream);
}

}  // namespace

void PrintLine(std::string_view text) {
  Write(stdout, text, true);
}

void PrintText(std::string_view text) {
  if (!text.empty()) {
    Write(stdout, text, text.back() != '\n');
  }
}

void PrintErrorLine(std::string_view text) {
  Write(stderr, text, true);
}
