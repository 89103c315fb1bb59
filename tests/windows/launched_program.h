#ifndef TESTS_WINDOWS_LAUNCHED_PROGRAM_H_
#define TESTS_WINDOWS_LAUNCHED_PROGRAM_H_

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// One run of a program, started with CreateProcessW as Explorer would start
// it: its arguments on a command line quoted by the Windows rules, its
// standard output and error in files of the test's own. A run still going
// when the object goes is ended, so a hang cannot outlive its test.
class LaunchedProgram {
 public:
  // Starts `program` with `arguments` in the program's own folder; its
  // output goes to `output_stem`.out and .err. Throws std::runtime_error
  // when the process cannot be started.
  LaunchedProgram(const std::filesystem::path& program,
                  const std::vector<std::string>& arguments,
                  const std::filesystem::path& output_stem);
  ~LaunchedProgram();

  LaunchedProgram(const LaunchedProgram&) = delete;
  LaunchedProgram& operator=(const LaunchedProgram&) = delete;

  HANDLE process() const { return process_.get(); }

  // The exit code once the process has ended within `milliseconds`, or
  // nothing while it runs.
  std::optional<DWORD> WaitForExit(DWORD milliseconds) const;

  // How long the process ran, from its creation to its exit; nothing while
  // it runs.
  std::optional<std::chrono::milliseconds> RunTime() const;

  // What the process has written so far, each line without its line end.
  std::vector<std::string> OutputLines() const;
  std::string ErrorText() const;

  // Polls the output until a line starting with `prefix` appears; that
  // line, or nothing after `milliseconds`.
  std::optional<std::string> WaitForLine(const std::string& prefix, DWORD milliseconds) const;

 private:
  struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
  };
  using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

  std::filesystem::path output_path_;
  std::filesystem::path error_path_;
  UniqueHandle process_;
};

// `argument` as CommandLineToArgvW reads it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

// UTF-8 and UTF-16 both ways, for arguments and output.
std::wstring Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8String(const std::wstring& text);

#endif  // TESTS_WINDOWS_LAUNCHED_PROGRAM_H_
