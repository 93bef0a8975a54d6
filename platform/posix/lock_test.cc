#include "platform/lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix/test_util.h"
#include "tests/support/temp_folder.h"

namespace quill::platform {
namespace {

using ::quill::testing::TempFolder;
using testing::ScopedEnv;

constexpr char kTitle[] = "Quillmere 2.8";

void WaitForChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

TEST(InstanceLockTest, AnotherProcessHoldingTheLockKeepsUsOutUntilItEnds) {
  TempFolder runtime;
  ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
  int ready[2], hold[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(hold), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    close(ready[0]);
    close(hold[1]);
    InstanceLock lock = InstanceLock::Acquire(kTitle);
    const char answer = lock.held() ? '1' : '0';
    if (write(ready[1], &answer, 1) != 1) _exit(1);
    char c;
    while (read(hold[0], &c, 1) > 0) {
    }  // hold the lock until killed
    _exit(0);
  }
  close(ready[1]);
  close(hold[0]);
  char answer = 0;
  ASSERT_TRUE(testing::WaitReadable(ready[0]));
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  close(ready[0]);
  EXPECT_EQ(answer, '1') << "the child could not take the lock";

  InstanceLock second = InstanceLock::Acquire(kTitle);
  EXPECT_FALSE(second.held());
  EXPECT_TRUE(second.busy());
  struct stat st;
  EXPECT_EQ(stat((runtime / "Quillmere 2.8.lock").c_str(), &st), 0);

  // A copy that is killed leaves no stale lock behind.
  kill(pid, SIGKILL);
  WaitForChild(pid);
  close(hold[1]);
  InstanceLock third = InstanceLock::Acquire(kTitle);
  EXPECT_TRUE(third.held());
  EXPECT_FALSE(third.busy());
}

TEST(InstanceLockTest, ReleaseAndMoveHandOverTheLock) {
  TempFolder runtime;
  ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
  InstanceLock first = InstanceLock::Acquire(kTitle);
  ASSERT_TRUE(first.held());
  // A second descriptor in the same process conflicts like another process would.
  EXPECT_FALSE(InstanceLock::Acquire(kTitle).held());

  InstanceLock moved = std::move(first);
  EXPECT_FALSE(first.held());
  EXPECT_TRUE(moved.held());
  EXPECT_FALSE(InstanceLock::Acquire(kTitle).held()) << "the move released the lock";

  moved.Release();
  EXPECT_FALSE(moved.held());
  InstanceLock again = InstanceLock::Acquire(kTitle);
  EXPECT_TRUE(again.held());
  again = InstanceLock();  // assigning over a held lock releases it
  EXPECT_TRUE(InstanceLock::Acquire(kTitle).held());
}

TEST(InstanceLockTest, ProgramsStartedByTheHolderDoNotKeepTheLock) {
  TempFolder runtime;
  ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
  InstanceLock lock = InstanceLock::Acquire(kTitle);
  ASSERT_TRUE(lock.held());

  // The child runs `cat` on a pipe we keep open, so it lives on after we release the lock. A
  // close-on-exec pipe tells us when the exec has happened.
  int input[2], exec_done[2];
  ASSERT_EQ(pipe(input), 0);
  ASSERT_EQ(pipe2(exec_done, O_CLOEXEC), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    close(input[1]);
    close(exec_done[0]);
    dup2(input[0], STDIN_FILENO);
    execlp("cat", "cat", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input[0]);
  close(exec_done[1]);
  std::string nothing;
  ASSERT_TRUE(testing::ReadToEnd(exec_done[0], nothing));
  close(exec_done[0]);

  lock.Release();
  EXPECT_TRUE(InstanceLock::Acquire(kTitle).held()) << "the started program inherited the lock";
  close(input[1]);
  WaitForChild(pid);
}

TEST(InstanceLockTest, NamesThatWouldLeaveTheFolderAreRefused) {
  TempFolder runtime;
  ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
  EXPECT_FALSE(InstanceLock::Acquire("").held());
  EXPECT_FALSE(InstanceLock::Acquire("../escape").held());
  EXPECT_FALSE(InstanceLock::Acquire("a/b").held());
  EXPECT_FALSE(InstanceLock::Acquire("a/b").busy());
}

TEST(RuntimeFolderTest, UsesXdgRuntimeDirWhenItIsAnAbsoluteFolder) {
  TempFolder runtime;
  {
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
    EXPECT_EQ(RuntimeFolder(), runtime.path() + "/");
  }
  {
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path() + "/");
    EXPECT_EQ(RuntimeFolder(), runtime.path() + "/");
  }
}

// The fallback folder is shared with real runs of the program, so this test only adds a lock
// file of its own name, removes it afterwards, and removes the folder only if it made it.
TEST(RuntimeFolderTest, FallsBackToAPrivateFolderInTmp) {
  TempFolder scratch;
  const std::string fallback = "/tmp/quillpix-" + std::to_string(getuid());
  struct stat st;
  const bool existed = lstat(fallback.c_str(), &st) == 0;
  if (existed && (!S_ISDIR(st.st_mode) || st.st_uid != getuid())) {
    GTEST_SKIP() << fallback << " exists but is not a folder of ours";
  }
  if (!existed) {
    // Someone else's link in its place must not redirect the lock files.
    ASSERT_EQ(symlink(scratch.path().c_str(), fallback.c_str()), 0);
    ScopedEnv env("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(RuntimeFolder(), "");
    EXPECT_FALSE(InstanceLock::Acquire(kTitle).held());
    unlink(fallback.c_str());
  }
  // Unset, empty, relative or missing: each falls back.
  const char* values[] = {nullptr, "", "relative/run", "/nonexistent/quill-run"};
  for (const char* value : values) {
    ScopedEnv env("XDG_RUNTIME_DIR", value);
    EXPECT_EQ(RuntimeFolder(), fallback + "/") << (value ? value : "(unset)");
  }
  {
    ScopedEnv env("XDG_RUNTIME_DIR", (scratch / "plain-file").c_str());
    ::quill::testing::WriteFile(scratch / "plain-file", "x");
    EXPECT_EQ(RuntimeFolder(), fallback + "/") << "a file is no runtime folder";
  }

  ScopedEnv env("XDG_RUNTIME_DIR", nullptr);
  ASSERT_EQ(lstat(fallback.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_uid, getuid());
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  const std::string name = "quilltest-" + std::to_string(getpid());
  {
    InstanceLock lock = InstanceLock::Acquire(name);
    EXPECT_TRUE(lock.held());
    EXPECT_EQ(stat((fallback + "/" + name + ".lock").c_str(), &st), 0);
    EXPECT_FALSE(InstanceLock::Acquire(name).held());
  }
  unlink((fallback + "/" + name + ".lock").c_str());

  if (!existed) {
    // A folder of ours that others could write into is closed to them before it is used.
    ASSERT_EQ(chmod(fallback.c_str(), 0777), 0);
    EXPECT_EQ(RuntimeFolder(), fallback + "/");
    ASSERT_EQ(lstat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    rmdir(fallback.c_str());
  }
}

}  // namespace
}  // namespace quill::platform
