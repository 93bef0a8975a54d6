#include "platform/console.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "platform/posix/test_util.h"

namespace quill::platform {
namespace {

using testing::ChildResult;
using testing::RunInChild;

TEST(ConsoleTest, EachLineIsWrittenWithOneLineEnd) {
  const ChildResult r = RunInChild([] {
    PrintLine("Converting: Bild über Größe.jpg");
    PrintErrorLine("Quillmere 2.8 is already running");
    PrintLine("");
    PrintLine("100% done");
    return 0;
  });
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "Converting: Bild über Größe.jpg\n\n100% done\n");
  EXPECT_EQ(r.err, "Quillmere 2.8 is already running\n");
}

TEST(ConsoleTest, LinesReachAReaderBeforeTheProgramEnds) {
  int line_seen[2];
  ASSERT_EQ(pipe(line_seen), 0);
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  // The child prints, then waits for the parent to confirm it read the line: the line must not
  // sit in a buffer until the process exits.
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    close(line_seen[1]);
    close(out[0]);
    dup2(out[1], STDOUT_FILENO);
    PrintLine("first");
    char c;
    _exit(read(line_seen[0], &c, 1) == 1 ? 0 : 1);
  }
  close(line_seen[0]);
  close(out[1]);
  std::string text;
  while (text.find('\n') == std::string::npos) {
    ASSERT_TRUE(testing::WaitReadable(out[0]));
    char buffer[64];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  EXPECT_EQ(text, "first\n");
  testing::WriteAllTo(line_seen[1], "x");
  close(line_seen[1]);
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ConsoleTest, AReaderThatWentAwayDoesNotEndTheProgram) {
  int gone[2];
  ASSERT_EQ(pipe(gone), 0);
  close(gone[0]);
  const ChildResult r = RunInChild(
      [] {
        signal(SIGPIPE, SIG_DFL);
        PrintLine("nobody reads this");
        PrintLine("nor this");
        // Nothing is left behind: no pending signal, and the signal mask is as before.
        sigset_t pending, mask;
        sigpending(&pending);
        pthread_sigmask(SIG_SETMASK, nullptr, &mask);
        if (sigismember(&pending, SIGPIPE) || sigismember(&mask, SIGPIPE)) return 3;
        PrintErrorLine("still running");
        return 0;
      },
      -1, gone[1]);
  close(gone[1]);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exit_code, 0) << "128 + 13 means SIGPIPE ended it";
  EXPECT_EQ(r.err, "still running\n");
}

TEST(ConsoleTest, WaitForKeyReturnsAtOnceWithoutATerminal) {
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  // The write end stays open, so a read would block: only the terminal check lets it return.
  const ChildResult r = RunInChild(
      [] {
        WaitForKey();
        PrintLine("returned");
        return 0;
      },
      input[0]);
  close(input[0]);
  close(input[1]);
  ASSERT_TRUE(r.finished) << "WaitForKey waited on a pipe";
  EXPECT_EQ(r.out, "returned\n");
}

// Runs WaitForKey in a child on a fresh pseudo-terminal that already has `typed` in its input
// queue. The child then reports whether the terminal mode was restored and, when `typed` holds a
// '#', what input is left before it.
ChildResult WaitOnTerminal(const std::string& typed, bool hang_up = false) {
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {};
  testing::WriteAllTo(master, typed);
  if (hang_up) {
    close(master);
    master = -1;
  }
  const bool read_rest = typed.find('#') != std::string::npos;
  ChildResult r = RunInChild(
      [read_rest] {
        termios before{}, after{};
        tcgetattr(STDIN_FILENO, &before);
        WaitForKey();
        tcgetattr(STDIN_FILENO, &after);
        const bool restored = before.c_lflag == after.c_lflag &&
                              before.c_cc[VMIN] == after.c_cc[VMIN] &&
                              before.c_cc[VTIME] == after.c_cc[VTIME];
        std::string rest;
        termios raw = after;
        raw.c_lflag &= ~(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
        char c = 0;
        while (read_rest && read(STDIN_FILENO, &c, 1) == 1 && c != '#') rest += c;
        tcsetattr(STDIN_FILENO, TCSANOW, &after);
        PrintLine(std::string(restored ? "restored" : "not restored") + " rest=" + rest);
        return 0;
      },
      slave);
  close(slave);
  if (master >= 0) close(master);
  return r;
}

TEST(ConsoleTest, WaitForKeyOnATerminalWaitsForAKeyThatYieldsACharacter) {
  struct Case {
    const char* what;
    std::string typed;
    std::string rest;  // what WaitForKey must leave unread
  };
  const Case cases[] = {
      {"a letter", "x#", ""},
      {"only the first key", "ab#", "b"},
      {"arrow up, then a letter", "\x1b[Ay#", ""},
      {"ctrl+right, then a letter", "\x1b[1;5Cz#", ""},
      {"F1 (SS3), then a letter", "\x1bOPq#", ""},
      {"F5, then a letter", "\x1b[15~a#", ""},
      {"several arrows, then a digit", "\x1b[A\x1b[B\x1b[C\x1b[D7#", ""},
      {"alt+x yields a character", "\x1bxy#", "y"},
      {"enter", "\n#", ""},
  };
  for (const Case& c : cases) {
    const ChildResult r = WaitOnTerminal(c.typed);
    ASSERT_TRUE(r.finished) << c.what << ": still waiting";
    EXPECT_EQ(r.out, "restored rest=" + c.rest + "\n") << c.what;
  }
}

TEST(ConsoleTest, WaitForKeyOnATerminalEndsOnALoneEscapeOrAHangUp) {
  // The Escape key alone yields a character: nothing follows it, and the wait ends.
  ChildResult r = WaitOnTerminal("\x1b");
  ASSERT_TRUE(r.finished) << "a lone Escape did not end the wait";
  EXPECT_EQ(r.out, "restored rest=\n");
  // A terminal that went away can deliver no key.
  r = WaitOnTerminal("\x1b[A", /*hang_up=*/true);
  ASSERT_TRUE(r.finished) << "still waiting on a closed terminal";
  EXPECT_EQ(r.out, "restored rest=\n");
}

}  // namespace
}  // namespace quill::platform
