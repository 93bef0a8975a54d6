// Opening targets on POSIX: xdg-open, started without a shell and reaped in the background.
#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace quill::platform {

bool OpenWithShell(const std::string& target) {
  if (target.empty()) return false;
  char program[] = "xdg-open";
  // xdg-open would read a leading "-" as an option of its own; a target like that can only be a
  // relative file name, and "./" in front names the same file.
  std::string argument = target[0] == '-' ? "./" + target : target;
  char* argv[] = {program, argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  // Reap the child when it ends, so that no zombie is left while the program runs on.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace quill::platform
