#include "tests/end_to_end_expectations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "app/result_printer.h"

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.push_back(line);
  }
  return lines;
}

std::string Line(std::string_view prefix, std::string_view rest) {
  return std::string(prefix) + std::string(rest);
}

std::string Text(std::vector<std::string>::const_iterator begin,
                 std::vector<std::string>::const_iterator end) {
  std::string text;
  for (auto line = begin; line != end; ++line) {
    text += *line;
    text += '\n';
  }
  return text;
}

std::string Header(const std::filesystem::path& path) {
  return std::string(kHeaderStart) + path.string() + std::string(kHeaderEnd);
}

void ExpectCleanExit(const ChildProcessResult& result) {
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(result.standard_error, ::testing::IsEmpty());
}

ChildProcessOptions RecognitionOptions(std::string language) {
  ChildProcessOptions options;
  options.environment["LANGUAGE"] = std::move(language);
  options.environment["TESSDATA_PREFIX"] = std::nullopt;
  options.timeout = std::chrono::minutes(2);
  return options;
}
