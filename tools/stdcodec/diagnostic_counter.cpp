#include "tools/stdcodec/diagnostic_counter.h"

#include <algorithm>
#include <iostream>

namespace stdcodec {

DiagnosticCounter::DiagnosticCounter(Echo echo) : replaced_(std::cerr.rdbuf(this)), echo_(echo) {}

DiagnosticCounter::~DiagnosticCounter() {
  std::cerr.rdbuf(replaced_);
}

DiagnosticCounter::int_type DiagnosticCounter::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) {
    return traits_type::not_eof(c);
  }
  if (traits_type::to_char_type(c) == '\n') {
    ++lines_;
  }
  if (echo_ == Echo::kDrop || replaced_ == nullptr) {
    return c;
  }
  return replaced_->sputc(traits_type::to_char_type(c));
}

std::streamsize DiagnosticCounter::xsputn(const char* text, std::streamsize count) {
  lines_ += static_cast<int>(std::count(text, text + count, '\n'));
  if (echo_ == Echo::kDrop || replaced_ == nullptr) {
    return count;
  }
  return replaced_->sputn(text, count);
}

int DiagnosticCounter::sync() {
  if (echo_ == Echo::kDrop || replaced_ == nullptr) {
    return 0;
  }
  return replaced_->pubsync();
}

}  // namespace stdcodec
