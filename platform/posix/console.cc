// The console on POSIX: UTF-8 lines on the standard streams, raw terminal mode for a key press.
#include "platform/console.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>

namespace quill::platform {
namespace {

// Writing to a pipe whose reader has gone raises SIGPIPE, which would end the whole program in
// the middle of a conversion. The signal is held back for this thread while writing, and one
// that the write raised is taken off again, so such a write just fails.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_set_);
    sigaddset(&pipe_set_, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    was_pending_ = sigismember(&pending, SIGPIPE) == 1;
    blocked_ = pthread_sigmask(SIG_BLOCK, &pipe_set_, &saved_) == 0;
  }
  ~SigpipeGuard() {
    if (!blocked_) return;
    if (raised_ && !was_pending_) {
      const timespec no_wait{0, 0};
      while (sigtimedwait(&pipe_set_, nullptr, &no_wait) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;

  void NoteBrokenPipe() { raised_ = true; }

 private:
  sigset_t pipe_set_;
  sigset_t saved_;
  bool blocked_ = false;
  bool was_pending_ = false;
  bool raised_ = false;
};

void WriteAll(int fd, std::string_view text) {
  SigpipeGuard guard;
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EPIPE) guard.NoteBrokenPipe();
      return;  // a closed or full output loses the line, as a console would
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
}

void WriteLine(int fd, std::string_view text) {
  // One write for the whole line, so that lines from different threads do not interleave.
  std::string line(text);
  line += '\n';
  WriteAll(fd, line);
}

// Reads one byte from standard input. With `wait_ms` >= 0, gives up (false) when nothing arrives
// in that time; with -1, waits as long as it takes. False as well at the end of the input.
bool ReadByte(unsigned char& byte, int wait_ms) {
  for (;;) {
    if (wait_ms >= 0) {
      pollfd p{STDIN_FILENO, POLLIN, 0};
      const int ready = poll(&p, 1, wait_ms);
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) return false;
    }
    const ssize_t n = read(STDIN_FILENO, &byte, 1);
    if (n == 1) return true;
    if (n < 0 && errno == EINTR) continue;
    return false;
  }
}

// How long the bytes of one escape sequence may lag behind its Escape byte. A terminal sends a
// whole sequence at once; a lone Escape key press is followed by nothing.
constexpr int kSequenceGapMs = 100;

enum class KeyRead { kCharacter, kNoCharacter, kEndOfInput };

// Reads one key press. Keys that send a CSI ("ESC [" ... final byte) or SS3 ("ESC O" x)
// sequence, such as the arrows and function keys, yield no character; Escape on its own and
// Alt with a key do.
KeyRead ReadKey() {
  unsigned char c = 0;
  if (!ReadByte(c, -1)) return KeyRead::kEndOfInput;
  if (c != 0x1b) return KeyRead::kCharacter;
  if (!ReadByte(c, kSequenceGapMs)) return KeyRead::kCharacter;  // the Escape key itself
  if (c == 'O') {
    ReadByte(c, kSequenceGapMs);
    return KeyRead::kNoCharacter;
  }
  if (c != '[') return KeyRead::kCharacter;  // Alt with a key
  // Parameter and intermediate bytes (0x20-0x3f) up to the final byte (0x40-0x7e).
  while (ReadByte(c, kSequenceGapMs)) {
    if (c >= 0x40 && c <= 0x7e) break;
    if (c < 0x20 || c > 0x3f) break;  // not a well-formed sequence: drop what was read
  }
  return KeyRead::kNoCharacter;
}

}  // namespace

void PrintLine(std::string_view text) { WriteLine(STDOUT_FILENO, text); }

void PrintErrorLine(std::string_view text) { WriteLine(STDERR_FILENO, text); }

void WaitForKey() {
  if (!isatty(STDIN_FILENO)) return;
  termios saved;
  if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= ~(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return;
  while (ReadKey() == KeyRead::kNoCharacter) {
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace quill::platform
