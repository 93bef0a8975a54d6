// Helpers for the platform tests: environment variables set for one test, and child processes
// that run a function of the test program with their standard streams on pipes.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quill::platform::testing {

// Sets (or with nullptr removes) an environment variable until the end of the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
  ~ScopedEnv() {
    if (saved_) {
      setenv(name_.c_str(), saved_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// Sets the local time zone (TZ) until the end of the scope.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) : env_(std::make_unique<ScopedEnv>("TZ", zone)) {
    tzset();
  }
  ~ScopedTimeZone() {
    env_.reset();
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::unique_ptr<ScopedEnv> env_;
};

// True when `fd` has something to read (or its writer has gone) within `limit_ms`. The limit is
// only a guard against a broken test subject hanging the test run; passing tests never reach it.
inline bool WaitReadable(int fd, int limit_ms = 20000) {
  pollfd p{fd, POLLIN, 0};
  for (;;) {
    const int ready = poll(&p, 1, limit_ms);
    if (ready < 0 && errno == EINTR) continue;
    return ready > 0;
  }
}

// Reads until the writer closes `fd`; false when the guard limit of WaitReadable ran out.
inline bool ReadToEnd(int fd, std::string& text) {
  for (;;) {
    if (!WaitReadable(fd)) return false;
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return true;
    }
  }
}

inline void WriteAllTo(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

struct ChildResult {
  bool finished = false;  // false: the child did not close its output within the guard limit
  int exit_code = -1;     // exit status, or 128 + signal number
  std::string out;
  std::string err;
};

// Runs `body` in a forked child whose standard output and error go to pipes (stdout to
// `stdout_fd` instead when that is given) and whose standard input is `stdin_fd` (or /dev/null).
// The child ends with the value `body` returns.
inline ChildResult RunInChild(const std::function<int()>& body, int stdin_fd = -1,
                              int stdout_fd = -1) {
  ChildResult result;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) return result;
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(out[0]);
    close(out[1]);
    return result;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = stdin_fd >= 0 ? stdin_fd : open("/dev/null", O_RDONLY);
    dup2(in, STDIN_FILENO);
    dup2(stdout_fd >= 0 ? stdout_fd : out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    _exit(body());
  }
  close(out[1]);
  close(err[1]);
  result.finished = pid > 0 && ReadToEnd(out[0], result.out) && ReadToEnd(err[0], result.err);
  close(out[0]);
  close(err[0]);
  if (pid <= 0) return result;
  if (!result.finished) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace quill::platform::testing
