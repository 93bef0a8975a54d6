// The console on POSIX: UTF-8 lines on the standard streams, raw terminal mode for a key press.
#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace quill::platform {
namespace {

void WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // a closed or full output loses the line, as a console would
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
}

void WriteLine(int fd, std::string_view text) {
  std::string line(text);
  line += '\n';
  WriteAll(fd, line);
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
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  for (;;) {
    unsigned char c = 0;
    const ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // end of input: nothing more can arrive
    if (c != 0x1b) break;
    // An escape sequence (arrow or function key) yields no character: swallow the rest of it
    // by reading what arrives with it without waiting.
    termios quick = raw;
    quick.c_cc[VMIN] = 0;
    quick.c_cc[VTIME] = 1;
    tcsetattr(STDIN_FILENO, TCSANOW, &quick);
    unsigned char rest[16];
    const ssize_t more = read(STDIN_FILENO, rest, sizeof rest);
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    if (more <= 0) break;  // a lone Escape key press
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace quill::platform
