// Crash safety: a conversion killed at any moment leaves only whole output files, and the next
// run clears what the killed one left; a write that runs out of space or into a read-only folder
// fails its file only.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/quillpix_test.h"

extern char** environ;

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ProgramResult;

class CrashSafetyTest : public QuillpixTest {
 protected:
  // Starts quillpix with `args` and kills it (SIGKILL) once its output has shown `lines` lines
  // that begin with `marker`, or lets it end when it shows fewer. Returns true when it was killed.
  bool RunAndKill(const std::vector<std::string>& args, const std::string& marker, int lines) {
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> argv_text = {QUILLPIX_BINARY};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text = {"XDG_RUNTIME_DIR=" + folder_.path(),
                                         "XDG_CONFIG_HOME=" + (folder_ / "config")};
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      if (entry.rfind("XDG_RUNTIME_DIR=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0) {
        env_text.push_back(entry);
      }
    }
    std::vector<char*> env;
    for (std::string& e : env_text) env.push_back(e.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
      close(out[0]);
      return false;
    }
    std::string pending;
    int seen = 0;
    bool killed = false;
    char buffer[4096];
    for (;;) {
      const ssize_t n = read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      pending.append(buffer, static_cast<size_t>(n));
      for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
        if (pending.compare(0, marker.size(), marker) == 0 && ++seen == lines) {
          kill(pid, SIGKILL);
          killed = true;
        }
        pending.erase(0, end + 1);
      }
      if (killed) break;
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return killed;
  }

  // Whether djpeg decodes the file without a warning (a cut file gives one).
  static bool DecodesWhole(const std::string& path) {
    return testing::RunProgram({"djpeg", "-outfile", "/dev/null", path}).exit_code == 0;
  }
};

TEST_F(CrashSafetyTest, AKilledRunLeavesOnlyWholeFilesAndTheNextRunClearsTheRest) {
  for (int i = 0; i < 10; ++i) {
    MakePng("in/p" + std::to_string(i) + ".png", i % 2 ? "plasma:" : "gradient:red-blue",
            "600x400");
  }
  folder_.MakeFolder("out");
  const std::string out = folder_ / "out";
  const std::vector<std::string> args = {"-d", "-i", folder_ / "in", "-o", out, "--threads=2"};
  int kills = 0;
  for (int round = 0; round < 12; ++round) {
    // Killed at a different point of the run each round: after the first to the sixth file
    // had started, alternating between the start of a file and the end of one.
    const bool at_start = round % 2 == 0;
    if (RunAndKill(args, at_start ? "Processing: " : "OK", 1 + round % 6)) ++kills;
    for (const auto& entry : fs::directory_iterator(out)) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with(".jpg")) {
        EXPECT_TRUE(DecodesWhole(entry.path().string())) << name << " in round " << round;
      } else {
        EXPECT_TRUE(name.starts_with(".quillpix-") && name.ends_with(".part")) << name;
      }
    }
  }
  EXPECT_GE(kills, 10);
  // A whole run afterwards: every file, each whole, and nothing else.
  const ProgramResult r = Run({"-q", "-i", folder_ / "in", "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.out;
  int outputs = 0;
  for (const auto& entry : fs::directory_iterator(out)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.ends_with(".jpg")) << name;
    EXPECT_TRUE(DecodesWhole(entry.path().string())) << name;
    ++outputs;
  }
  EXPECT_EQ(outputs, 10);
}

TEST_F(CrashSafetyTest, AFullDiskFailsTheLargeFilesOnlyAndLeavesNoPart) {
  MakePng("in/small.png", "xc:#336699", "16x16");
  MakePng("in/large.png", "plasma:", "800x600");
  MakePng("in/tiny.png", "xc:#993366", "8x8");
  folder_.MakeFolder("out");
  // A file size limit acts like a full disk; with its signal ignored, the write reports an error.
  const std::string script = "trap '' XFSZ; ulimit -f 16; exec \"$@\"";
  testing::RunOptions options;
  options.env["XDG_RUNTIME_DIR"] = folder_.path();
  options.env["XDG_CONFIG_HOME"] = folder_ / "config";
  const ProgramResult r =
      testing::RunProgram({"/bin/sh", "-c", script, "sh", QUILLPIX_BINARY, "-d", "-i",
                           folder_ / "in", "-o", folder_ / "out", "--jpg-quality=100"},
                          options);
  EXPECT_EQ(r.exit_code, 2) << r.out;
  EXPECT_NE(r.out.find("Files converted: 2 of 3"), std::string::npos) << r.out;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_ / "out")) {
    names.push_back(entry.path().filename().string());
    EXPECT_TRUE(DecodesWhole(entry.path().string())) << names.back();
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"small.jpg", "tiny.jpg"}));
}

TEST_F(CrashSafetyTest, AReadOnlyFolderFailsItsFilesOnlyAndLeavesNothingInIt) {
  MakePng("in/locked/first.png");
  MakePng("in/open/second.png");
  MakePng("in/locked/third.png");
  const std::string out = folder_ / "out";
  folder_.MakeFolder("out");
  folder_.MakeFolder("out/locked");
  folder_.MakeFolder("run");
  // Everyone may pass through and write beside the locked folder, which nobody may write into.
  const auto all = fs::perms::all;
  const auto read_only = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                         fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(folder_.path(), read_only);
  fs::permissions(out, all);
  fs::permissions(folder_ / "run", all);
  fs::permissions(out + "/locked", read_only);
  std::vector<std::string> argv = {QUILLPIX_BINARY, "-d", "-i", folder_ / "in", "-o", out};
  // The superuser writes anywhere, so it runs the program as the unprivileged "nobody".
  if (geteuid() == 0) {
    if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "no setpriv to drop privileges";
    argv.insert(argv.begin(),
                {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
  }
  testing::RunOptions options;
  options.env["XDG_RUNTIME_DIR"] = folder_ / "run";
  options.env["XDG_CONFIG_HOME"] = folder_ / "run";
  options.working_folder = folder_ / "run";
  const ProgramResult r = testing::RunProgram(argv, options);
  fs::permissions(folder_.path(), fs::perms::owner_all);
  fs::permissions(out + "/locked", fs::perms::owner_all);
  EXPECT_EQ(r.exit_code, 2) << r.out << r.err;
  EXPECT_NE(r.out.find("Files converted: 1 of 3"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::is_empty(out + "/locked"));
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    names.push_back(fs::relative(entry.path(), out).string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"locked", "open", "open/second.jpg"}));
  EXPECT_TRUE(DecodesWhole(out + "/open/second.jpg"));
}

}  // namespace
}  // namespace quill
