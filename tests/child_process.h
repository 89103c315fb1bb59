#ifndef TESTS_CHILD_PROCESS_H_
#define TESTS_CHILD_PROCESS_H_

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// How a child process ended and what it wrote.
struct ChildProcessResult {
  // The exit code; -1 when a signal ended the process.
  int exit_code = -1;
  // True when the process was killed for running out of time.
  bool timed_out = false;
  std::string standard_output;
  std::string standard_error;
};

// Runs `program` with `arguments` (argv[0] is `program`) in the root folder,
// with standard input from /dev/null, both output streams captured and the
// test's environment, and waits for its end. A process still running after
// `timeout` is killed, so a hang fails its test instead of blocking the run.
// Throws std::system_error when the process cannot be started.
ChildProcessResult RunChildProcess(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments,
                                   std::chrono::milliseconds timeout);

#endif  // TESTS_CHILD_PROCESS_H_
