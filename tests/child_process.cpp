#include "tests/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace {

[[noreturn]] void ThrowErrno(const char* what, int error) {
  throw std::system_error(error, std::generic_category(), what);
}

// A pipe whose ends are closed with it. Close-on-exec, so that a child
// keeps only the ends it is given.
class Pipe {
 public:
  Pipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
      ThrowErrno("pipe2", errno);
    }
    read_end_ = ends[0];
    write_end_ = ends[1];
  }
  ~Pipe() {
    close(read_end_);
    CloseWriteEnd();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  int read_end() const { return read_end_; }
  int write_end() const { return write_end_; }
  // Once the child has its copy: the reader then sees the end of the stream
  // when the child's copy closes.
  void CloseWriteEnd() {
    if (write_end_ >= 0) {
      close(write_end_);
    }
    write_end_ = -1;
  }

 private:
  int read_end_;
  int write_end_;
};

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;

  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// Appends what has arrived on `fd` to `sink`; false once the writer has
// closed its end.
bool Drain(int fd, std::string& sink) {
  std::array<char, 4096> buffer;
  const ssize_t size = read(fd, buffer.data(), buffer.size());
  if (size > 0) {
    sink.append(buffer.data(), static_cast<size_t>(size));
    return true;
  }
  return size < 0 && (errno == EINTR || errno == EAGAIN);
}

// The test's environment with `changes` applied, as "NAME=value" strings.
std::vector<std::string> ChildEnvironment(
    const std::map<std::string, std::optional<std::string>>& changes) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry(*variable);
    if (changes.count(entry.substr(0, entry.find('='))) == 0) {
      variables.push_back(entry);
    }
  }
  for (const auto& [name, value] : changes) {
    if (value.has_value()) {
      variables.push_back(name + "=" + *value);
    }
  }
  return variables;
}

// Pointers into `strings`, ended by a null, as exec wants them.
std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) {
    pointers.push_back(text.data());
  }
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcessResult RunChildProcess(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments,
                                   const ChildProcessOptions& options) {
  Pipe output;
  Pipe error;

  SpawnActions actions;
  posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(actions.get(), output.write_end(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(actions.get(), error.write_end(), STDERR_FILENO);
  posix_spawn_file_actions_addchdir_np(actions.get(), options.working_directory.c_str());

  std::vector<std::string> argv_storage;
  argv_storage.push_back(program.string());
  argv_storage.insert(argv_storage.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv = NullTerminated(argv_storage);
  std::vector<std::string> environment_storage = ChildEnvironment(options.environment);
  std::vector<char*> environment = NullTerminated(environment_storage);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv_storage[0].c_str(), actions.get(), nullptr,
                                  argv.data(), environment.data());
  if (spawned != 0) {
    ThrowErrno("posix_spawn", spawned);
  }
  output.CloseWriteEnd();
  error.CloseWriteEnd();

  ChildProcessResult result;
  const auto deadline = std::chrono::steady_clock::now() + options.timeout;
  std::array<pollfd, 2> streams = {pollfd{output.read_end(), POLLIN, 0},
                                   pollfd{error.read_end(), POLLIN, 0}};
  std::array<std::string*, 2> sinks = {&result.standard_output, &result.standard_error};
  while (streams[0].fd >= 0 || streams[1].fd >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timed_out = true;
      kill(pid, SIGKILL);
      break;
    }
    const int ready = poll(streams.data(), streams.size(), static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      ThrowErrno("poll", errno);
    }
    for (size_t i = 0; i < streams.size(); ++i) {
      if (streams[i].fd >= 0 && (streams[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
          !Drain(streams[i].fd, *sinks[i])) {
        // poll ignores negative descriptors.
        streams[i].fd = -1;
      }
    }
  }

  // The streams may close before the process ends, so the wait keeps the
  // deadline too.
  int status = 0;
  for (;;) {
    const pid_t waited = waitpid(pid, &status, result.timed_out ? 0 : WNOHANG);
    if (waited == pid) {
      break;
    }
    if (waited < 0 && errno != EINTR) {
      ThrowErrno("waitpid", errno);
    }
    if (waited == 0) {
      if (std::chrono::steady_clock::now() >= deadline) {
        result.timed_out = true;
        kill(pid, SIGKILL);
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
  }
  if (WIFEXITED(status)) {
    result.exit_code = WEXITSTATUS(status);
  }
  return result;
}
