#ifndef TESTS_END_TO_END_EXPECTATIONS_H_
#define TESTS_END_TO_END_EXPECTATIONS_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/child_process.h"

// `text` split at each newline; a last line without one counts too.
std::vector<std::string> Lines(const std::string& text);

// `prefix` followed by `rest`: a line as the programs print it.
std::string Line(std::string_view prefix, std::string_view rest);

// The lines from `begin` to `end`, joined by newlines.
std::string Text(std::vector<std::string>::const_iterator begin,
                 std::vector<std::string>::const_iterator end);

// The header the application prints above the answer for `path`.
std::string Header(const std::filesystem::path& path);

// The program ended by itself, with 0, and wrote nothing to stderr.
void ExpectCleanExit(const ChildProcessResult& result);

// A run whose user speaks `language` (as LANGUAGE holds it) and that finds
// the OCR languages where they are installed, with time for recognition in
// a sanitizer build.
ChildProcessOptions RecognitionOptions(std::string language);

#endif  // TESTS_END_TO_END_EXPECTATIONS_H_
