#include "app/result_printer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

MethodReply Success(flutter::EncodableValue value) {
  MethodReply reply;
  reply.kind = MethodReply::Kind::kSuccess;
  reply.value = std::move(value);
  return reply;
}

MethodReply Error(std::string code, std::string message) {
  MethodReply reply;
  reply.kind = MethodReply::Kind::kError;
  reply.error_code = std::move(code);
  reply.error_message = std::move(message);
  return reply;
}

MethodReply OfKind(MethodReply::Kind kind) {
  MethodReply reply;
  reply.kind = kind;
  return reply;
}

// What `print` writes to standard output and to standard error.
template <typename Print>
std::pair<std::string, std::string> Captured(Print print) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  print();
  std::string output = ::testing::internal::GetCapturedStdout();
  return {output, ::testing::internal::GetCapturedStderr()};
}

TEST(ResultPrinterTest, OneAnswerHasNoHeaderAndEndsInANewline) {
  const auto [output, error] = Captured([] {
    ResultPrinter printer(false);
    printer.Print("a.png", Success(std::string("first line\nlast line")));
  });

  EXPECT_EQ(output, "first line\nlast line\n");
  EXPECT_EQ(error, "");
}

// As head(1) prints several files: an empty line before every header but
// the first; an empty text prints nothing under its header.
TEST(ResultPrinterTest, SeveralAnswersComeUnderHeaders) {
  const auto [output, error] = Captured([] {
    ResultPrinter printer(true);
    printer.Print("a.png", Success(std::string("text\n")));
    printer.Print("blank.png", Success(std::string()));
    printer.Print("missing.png", Error("ocr_failed", "The system cannot find the file specified."));
  });

  EXPECT_EQ(output, "==> a.png <==\ntext\n\n==> blank.png <==\n\n==> missing.png <==\n");
  EXPECT_EQ(error, "ocr_failed: The system cannot find the file specified.\n");
}

TEST(ResultPrinterTest, AnswersWithoutTextOrErrorAreNamedOnStandardError) {
  const auto [output, error] = Captured([] {
    ResultPrinter printer(false);
    printer.Print("a.png", Success(int32_t{42}));
    printer.Print("b.png", OfKind(MethodReply::Kind::kNotImplemented));
    printer.Print("c.png", OfKind(MethodReply::Kind::kUndecodable));
  });

  EXPECT_EQ(output, "");
  EXPECT_EQ(error, std::string(kNotTextDiagnostic) + "a.png\n" +
                       std::string(kNotImplementedDiagnostic) + "b.png\n" +
                       std::string(kUndecodableDiagnostic) + "c.png\n");
}

}  // namespace
