#include "platform/shell.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/posix/test_util.h"
#include "tests/support/temp_folder.h"

namespace quill::platform {
namespace {

using ::quill::testing::ReadFile;
using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;
using testing::ScopedEnv;

// A stand-in for the desktop's opener, first on PATH: it writes how many arguments it got and
// the first one into a file, then reports on a FIFO that it has finished.
class FakeOpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(mkdir((dir_ / "bin").c_str(), 0777), 0);
    WriteFile(dir_ / "bin/xdg-open",
              "#!/bin/sh\n"
              "printf '%s\\n%s' \"$#\" \"$1\" > \"$FAKE_OPENER_OUT\"\n"
              "echo done > \"$FAKE_OPENER_FIFO\"\n");
    ASSERT_EQ(chmod((dir_ / "bin/xdg-open").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    const char* old_path = std::getenv("PATH");
    path_ = std::make_unique<ScopedEnv>(
        "PATH", dir_ / "bin" + (old_path ? std::string(":") + old_path : ""));
    out_env_ = std::make_unique<ScopedEnv>("FAKE_OPENER_OUT", dir_ / "argument");
    fifo_env_ = std::make_unique<ScopedEnv>("FAKE_OPENER_FIFO", dir_ / "fifo");
  }

  // Opens `target` and returns "<argument count>\n<first argument>" as the opener saw them.
  std::string OpenAndCapture(const std::string& target) {
    unlink((dir_ / "argument").c_str());
    // Opened without blocking so that a failed start cannot hang the test; poll waits for the
    // opener's report.
    const int fifo = open((dir_ / "fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo < 0) return "cannot open the FIFO";
    if (!OpenWithShell(target)) {
      close(fifo);
      return "not started";
    }
    std::string report;
    while (report.find('\n') == std::string::npos && testing::WaitReadable(fifo)) {
      char buffer[64];
      const ssize_t n = read(fifo, buffer, sizeof buffer);
      if (n > 0) report.append(buffer, static_cast<size_t>(n));
    }
    close(fifo);
    if (report != "done\n") return "no report from the opener";
    return ReadFile(dir_ / "argument");
  }

  TempFolder dir_;
  std::unique_ptr<ScopedEnv> path_, out_env_, fifo_env_;
};

TEST_F(FakeOpenerTest, TheTargetArrivesAsOneUnchangedArgument) {
  const std::string marker = dir_ / "command-ran";
  const std::string targets[] = {
      "/usr/share/doc/quillpix/Quillmere Manual.html",
      "https://example.com/download?version=2.8&lang=de#top",
      "mailto:support@example.com?subject=Quillmere 2.8 question",
      "/tmp/it's a \"quoted\" name; $(touch " + marker + ") `touch " + marker + "` | * ~ \\",
      "/tmp/Grüße/Übersicht.html",
  };
  for (const std::string& target : targets) {
    EXPECT_EQ(OpenAndCapture(target), "1\n" + target);
  }
  EXPECT_NE(access(marker.c_str(), F_OK), 0) << "a shell interpreted the target";
}

TEST_F(FakeOpenerTest, ALeadingDashIsNotTakenForAnOption) {
  EXPECT_EQ(OpenAndCapture("--help"), "1\n./--help");
}

TEST_F(FakeOpenerTest, NothingToOpenOrNoOpenerFails) {
  EXPECT_FALSE(OpenWithShell(""));
  TempFolder empty;
  ScopedEnv path("PATH", empty.path());
  EXPECT_FALSE(OpenWithShell("https://example.com/"));
}

}  // namespace
}  // namespace quill::platform
