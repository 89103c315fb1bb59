#ifndef TOOLS_STDCODEC_DIAGNOSTIC_COUNTER_H_
#define TOOLS_STDCODEC_DIAGNOSTIC_COUNTER_H_

#include <streambuf>

namespace stdcodec {

// Stands in for std::cerr's buffer while it exists and counts the lines
// written there, which is how the codec reports what it could not decode.
// The text goes on to the buffer it replaced, or is dropped when `echo` says
// so. Not thread-safe; at most one counter is installed at a time.
class DiagnosticCounter : public std::streambuf {
 public:
  enum class Echo {
    kPassOn,
    kDrop,
  };

  explicit DiagnosticCounter(Echo echo);
  DiagnosticCounter(const DiagnosticCounter&) = delete;
  DiagnosticCounter& operator=(const DiagnosticCounter&) = delete;
  ~DiagnosticCounter() override;

  // Newlines written to std::cerr so far.
  int lines() const { return lines_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::streambuf* replaced_;
  Echo echo_;
  int lines_ = 0;
};

}  // namespace stdcodec

#endif  // TOOLS_STDCODEC_DIAGNOSTIC_COUNTER_H_
