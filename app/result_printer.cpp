#include "app/result_printer.h"

#include "app/print_line.h"

ResultPrinter::ResultPrinter(bool with_headers) : with_headers_(with_headers) {}

void ResultPrinter::Print(const std::string& shown_path, const MethodReply& reply) {
  if (with_headers_) {
    PrintHeader(shown_path);
  }
  switch (reply.kind) {
    case MethodReply::Kind::kSuccess:
      if (const std::string* text = reply.value.GetIf<std::string>()) {
        PrintText(*text);
      } else {
        PrintErrorLine(std::string(kNotTextDiagnostic) + shown_path);
      }
      break;
    case MethodReply::Kind::kError:
      PrintErrorLine(reply.error_code + ": " + reply.error_message);
      break;
    case MethodReply::Kind::kNotImplemented:
      PrintErrorLine(std::string(kNotImplementedDiagnostic) + shown_path);
      break;
    case MethodReply::Kind::kUndecodable:
      PrintErrorLine(std::string(kUndecodableDiagnostic) + shown_path);
      break;
  }
}

void ResultPrinter::PrintHeader(const std::string& shown_path) {
  if (printed_header_) {
    PrintLine("");
  }
  printed_header_ = true;
  PrintLine(std::string(kHeaderStart) + shown_path + std::string(kHeaderEnd));
}
