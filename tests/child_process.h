#ifndef TESTS_CHILD_PROCESS_H_
#define TESTS_CHILD_PROCESS_H_

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
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

// Where and how a child process runs.
struct ChildProcessOptions {
  // The child's current folder: by default away from the build tree, so
  // that the program must find its data beside itself.
  std::filesystem::path working_directory = "/";
  // Changes to the test's environment: a value sets the variable, nullopt
  // removes it; every other variable is passed on.
  std::map<std::string, std::optional<std::string>> environment;
  // A process still running after this is killed, so a hang fails its test
  // instead of blocking the run.
  std::chrono::milliseconds timeout = std::chrono::seconds(20);
};

// Runs `program` with `arguments` (argv[0] is `program`), with standard
// input from /dev/null and both output streams captured, and waits for its
// end. Throws std::system_error when the process cannot be started.
ChildProcessResult RunChildProcess(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments,
                                   const ChildProcessOptions& options);

#endif  // TESTS_CHILD_PROCESS_H_
