#include "platform/paths.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/files.h"
#include "platform/posix/test_util.h"

namespace quill::platform {
namespace {

using testing::ScopedEnv;

TEST(ApplicationDataFolderTest, FollowsXdgConfigHomeThenHome) {
  struct Case {
    const char* xdg;   // nullptr: unset
    const char* home;  // nullptr: unset
    std::string expected;
  };
  const Case cases[] = {
      {"/data/conf", "/home/ann", "/data/conf"},
      {"/data/conf/", "/home/ann", "/data/conf"},
      {nullptr, "/home/ann", "/home/ann/.config"},
      {"", "/home/ann/", "/home/ann/.config"},
      {"relative/conf", "/home/ann", "/home/ann/.config"},
      {"/data/conf", nullptr, "/data/conf"},
      {"/", nullptr, "/"},
      {nullptr, "/", "/.config"},
      {nullptr, nullptr, ""},
      {"", "", ""},
      {nullptr, "relative/home", ""},
  };
  for (const Case& c : cases) {
    ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(ApplicationDataFolder(), c.expected)
        << "XDG_CONFIG_HOME=" << (c.xdg ? c.xdg : "(unset)")
        << " HOME=" << (c.home ? c.home : "(unset)");
  }
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningTestProgram) {
  const std::string folder = ProgramFolder();
  const std::string path = ProgramPath();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), kPathSeparator);
  EXPECT_EQ(path, folder + program_invocation_short_name);
  EXPECT_TRUE(FileExists(folder + program_invocation_short_name));

  struct stat ours, exe;
  ASSERT_EQ(stat(path.c_str(), &ours), 0);
  ASSERT_EQ(stat("/proc/self/exe", &exe), 0);
  EXPECT_EQ(ours.st_ino, exe.st_ino);
  EXPECT_EQ(ours.st_dev, exe.st_dev);
}

TEST(IsRelativePathTest, OnlyALeadingSlashMakesAPathAbsolute) {
  EXPECT_FALSE(IsRelativePath("/"));
  EXPECT_FALSE(IsRelativePath("/home/ann/pics"));
  EXPECT_TRUE(IsRelativePath("pics"));
  EXPECT_TRUE(IsRelativePath("./pics"));
  EXPECT_TRUE(IsRelativePath("../pics"));
  EXPECT_TRUE(IsRelativePath("C:\\pics"));
  EXPECT_TRUE(IsRelativePath(""));
}

}  // namespace
}  // namespace quill::platform
