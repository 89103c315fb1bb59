#ifndef APP_RESULT_PRINTER_H_
#define APP_RESULT_PRINTER_H_

#include <string>
#include <string_view>

#include "app/method_reply.h"

// Diagnostics for answers that carry no text and no error; each is followed
// by the image's path as given.
inline constexpr std::string_view kNotImplementedDiagnostic =
    "recognize: the host does not implement the method, for ";
inline constexpr std::string_view kUndecodableDiagnostic =
    "recognize: the host's reply does not decode, for ";
inline constexpr std::string_view kNotTextDiagnostic =
    "recognize: the host's reply holds no text, for ";

// The header line above each answer when there are several: these around
// the image's path as given.
inline constexpr std::string_view kHeaderStart = "==> ";
inline constexpr std::string_view kHeaderEnd = " <==";

// Prints the answers to "recognize", in the order they are given: a text to
// standard output, an error as "<code>: <message>" on standard error. With
// headers, each answer is preceded by a header line on standard
// output, and every header but the first by an empty line, as `head` prints
// several files.
class ResultPrinter {
 public:
  explicit ResultPrinter(bool with_headers);

  void Print(const std::string& shown_path, const MethodReply& reply);

 private:
  void PrintHeader(const std::string& shown_path);

  bool with_headers_;
  bool printed_header_ = false;
};

#endif  // APP_RESULT_PRINTER_H_
