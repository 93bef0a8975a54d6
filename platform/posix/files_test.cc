#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dates.h"
#include "platform/posix/test_util.h"
#include "tests/support/temp_folder.h"

namespace quill::platform {
namespace {

using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;
using testing::ChildResult;
using testing::RunInChild;
using testing::ScopedTimeZone;

TEST(FilesTest, SizeAndExistenceOfFilesAndFolders) {
  TempFolder dir;
  WriteFile(dir / "empty", "");
  WriteFile(dir / "five", "12345");
  ASSERT_EQ(mkdir((dir / "folder").c_str(), 0777), 0);
  ASSERT_EQ(symlink("five", (dir / "link-to-file").c_str()), 0);
  ASSERT_EQ(symlink("folder", (dir / "link-to-folder").c_str()), 0);
  ASSERT_EQ(symlink("nothing", (dir / "dangling").c_str()), 0);

  struct Case {
    std::string name;
    int64_t size;
    bool file_exists;
    bool folder_exists;
  };
  const Case cases[] = {
      {"missing", -1, false, false},    {"empty", 0, false, false},
      {"five", 5, true, false},         {"folder", -1, false, true},
      {"link-to-file", 5, true, false}, {"link-to-folder", -1, false, true},
      {"dangling", -1, false, false},   {"five/below", -1, false, false},
  };
  for (const Case& c : cases) {
    const std::string path = dir / c.name;
    EXPECT_EQ(FileSize(path), c.size) << c.name;
    EXPECT_EQ(FileExists(path), c.file_exists) << c.name;
    EXPECT_EQ(FolderExists(path), c.folder_exists) << c.name;
  }
  EXPECT_TRUE(FolderExists(dir.path() + "/"));
  EXPECT_FALSE(FolderExists(""));
  EXPECT_FALSE(FileExists(""));
}

TEST(FilesTest, CreateFolderMakesOneLevelWithTheUmaskApplied) {
  TempFolder dir;
  const mode_t old_mask = umask(027);
  const bool made = CreateFolder(dir / "new");
  umask(old_mask);
  EXPECT_TRUE(made);
  struct stat st;
  ASSERT_EQ(stat((dir / "new").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0750u);

  EXPECT_TRUE(CreateFolder(dir / "new")) << "an existing folder counts as made";
  EXPECT_TRUE(CreateFolder(dir / "new/")) << "a trailing separator is fine";
  EXPECT_FALSE(CreateFolder(dir / "missing/child")) << "the parent is not made";
  EXPECT_FALSE(FolderExists(dir / "missing"));
  WriteFile(dir / "file", "x");
  EXPECT_FALSE(CreateFolder(dir / "file")) << "a file of that name is no folder";
  EXPECT_FALSE(CreateFolder(""));
}

TEST(FilesTest, FolderIdentitySeesThroughLinks) {
  TempFolder dir;
  ASSERT_EQ(mkdir((dir / "a").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((dir / "b").c_str(), 0777), 0);
  ASSERT_EQ(symlink("a", (dir / "to-a").c_str()), 0);
  ASSERT_EQ(symlink("..", (dir / "a/up").c_str()), 0);
  WriteFile(dir / "file", "x");

  const auto a = FolderIdentity(dir / "a");
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(FolderIdentity(dir / "to-a"), a);
  EXPECT_NE(FolderIdentity(dir / "b"), a);
  // A link back up, as a link loop in a walk would meet it.
  EXPECT_EQ(FolderIdentity(dir / "a/up"), FolderIdentity(dir.path()));
  EXPECT_FALSE(FolderIdentity(dir / "file").has_value());
  EXPECT_FALSE(FolderIdentity(dir / "missing").has_value());
}

// The names a plain readdir loop returns, "." and ".." left out.
std::vector<std::string> ReaddirOrder(const std::string& path) {
  std::vector<std::string> names;
  DIR* d = opendir(path.c_str());
  if (d == nullptr) return names;
  while (const dirent* e = readdir(d)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
      names.push_back(e->d_name);
    }
  }
  closedir(d);
  return names;
}

TEST(FilesTest, ListFolderKeepsTheSystemOrderAndReportsKinds) {
  TempFolder dir;
  // Enough names that the system order is unlikely to be the creation or the sorted order.
  for (int i = 0; i < 40; ++i) WriteFile(dir / ("file" + std::to_string(i) + ".jpg"), "x");
  WriteFile(dir / ".hidden", "x");
  WriteFile(dir / "name with blanks", "x");
  ASSERT_EQ(mkdir((dir / "sub").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((dir / ".hidden-folder").c_str(), 0777), 0);
  ASSERT_EQ(symlink("sub", (dir / "link-to-sub").c_str()), 0);
  ASSERT_EQ(symlink(".hidden", (dir / "link-to-file").c_str()), 0);
  ASSERT_EQ(symlink("nothing", (dir / "dangling").c_str()), 0);

  const std::vector<FolderEntry> entries = ListFolder(dir.path());
  std::vector<std::string> names;
  for (const FolderEntry& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, ReaddirOrder(dir.path()));
  EXPECT_EQ(names.size(), 40u + 7u);

  auto find = [&](const std::string& name) -> const FolderEntry* {
    for (const FolderEntry& e : entries) {
      if (e.name == name) return &e;
    }
    return nullptr;
  };
  struct Kind {
    std::string name;
    bool is_folder;
    bool is_link;
  };
  const Kind kinds[] = {
      {"file7.jpg", false, false},        {".hidden", false, false},
      {"name with blanks", false, false}, {"sub", true, false},
      {".hidden-folder", true, false},    {"link-to-sub", true, true},
      {"link-to-file", false, true},      {"dangling", false, true},
  };
  for (const Kind& k : kinds) {
    const FolderEntry* e = find(k.name);
    ASSERT_NE(e, nullptr) << k.name;
    EXPECT_EQ(e->is_folder, k.is_folder) << k.name;
    EXPECT_EQ(e->is_link, k.is_link) << k.name;
  }

  // A trailing separator names the same folder.
  EXPECT_EQ(ListFolder(dir.path() + "/").size(), entries.size());
}

TEST(FilesTest, ListFolderOfSomethingUnreadableIsEmpty) {
  TempFolder dir;
  WriteFile(dir / "file", "x");
  EXPECT_TRUE(ListFolder(dir / "missing").empty());
  EXPECT_TRUE(ListFolder(dir / "file").empty());
  EXPECT_TRUE(ListFolder(dir.path()).size() == 1);
  ASSERT_EQ(mkdir((dir / "empty").c_str(), 0777), 0);
  EXPECT_TRUE(ListFolder(dir / "empty").empty());
}

TEST(FilesTest, LastWriteTimeRoundTripLeavesTheAccessTimeAlone) {
  ScopedTimeZone tz("Europe/Berlin");
  TempFolder dir;
  const std::string path = dir / "picture.jpg";
  WriteFile(path, "data");
  // A known access time to compare against.
  const timespec access_and_write[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), access_and_write, 0), 0);

  // Winter and summer time.
  const DateFields dates[] = {
      {2024, 1, 15, 8, 30, 5}, {2024, 7, 1, 12, 0, 0}, {1999, 12, 31, 23, 59, 59}};
  for (const DateFields& fields : dates) {
    const int32_t date = JoinDate(fields);
    ASSERT_TRUE(SetLastWriteTime(path, date));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, DateToTime(date));
    EXPECT_EQ(st.st_mtim.tv_nsec, 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000) << "the access time changed";
    EXPECT_EQ(LastWriteTime(path), date);
  }
  // The last one, 1999-12-31 23:59:59 on a Berlin wall clock, is 22:59:59 UTC.
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 946681199);

  EXPECT_FALSE(LastWriteTime(dir / "missing").has_value());
  EXPECT_FALSE(SetLastWriteTime(dir / "missing", 0));
}

// The names in a folder, sorted; shows whether a temporary file was left behind.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : ListFolder(folder)) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FilesTest, WriteFileReplacingWritesWholeFilesOrLeavesTheOldOne) {
  TempFolder dir;
  const std::string path = dir / "config.ini";
  ASSERT_TRUE(WriteFileReplacing(path, "first"));
  ASSERT_TRUE(WriteFileReplacing(path, std::string(100000, 'x'), true));
  EXPECT_EQ(ReadWholeFile(path), std::string(100000, 'x'));
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"config.ini"});

  // A folder in the target's place and a missing folder: nothing written, nothing left over.
  ASSERT_EQ(mkdir((dir / "taken").c_str(), 0777), 0);
  EXPECT_FALSE(WriteFileReplacing(dir / "taken", "data"));
  EXPECT_FALSE(WriteFileReplacing(dir / "missing/config.ini", "data"));
  EXPECT_FALSE(WriteFileReplacing("", "data"));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"config.ini", "taken"}));

  // A disk that fills up in the middle of the write (a file size limit makes write() fail the
  // same way): the old content survives whole and the partial new file is removed.
  WriteFile(path, "old content");
  const ChildResult child = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    return WriteFileReplacing(path, std::string(100000, 'n')) ? 1 : 0;
  });
  EXPECT_EQ(child.exit_code, 0);
  EXPECT_EQ(ReadWholeFile(path), "old content");
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"config.ini", "taken"}));
}

TEST(FilesTest, ReadWholeFileReadsRegularFilesOnly) {
  TempFolder dir;
  WriteFile(dir / "bytes", std::string("a\0b\r\n", 5));
  EXPECT_EQ(ReadWholeFile(dir / "bytes"), std::string("a\0b\r\n", 5));
  EXPECT_EQ(ReadWholeFile(dir / "missing"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(dir.path()), std::nullopt);
}

TEST(FilesTest, OnlyAbandonedPartialFilesAreRemoved) {
  TempFolder dir;
  WriteFile(dir / ".quillpix-0123456789ab.part", "left by a killed run");
  WriteFile(dir / ".quillpix-.part", "too short to be ours");
  WriteFile(dir / "quillpix-0123456789ab.part", "no leading dot");
  WriteFile(dir / "photo.jpg", "a photo");
  // One still being written: its writer (another process) holds the lock.
  const std::string busy = dir / ".quillpix-ba9876543210.part";
  WriteFile(busy, "in progress");
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t writer = fork();
  if (writer == 0) {
    const int fd = open(busy.c_str(), O_RDWR);
    flock(fd, LOCK_EX);
    char byte = 1;
    write(ready[1], &byte, 1);
    read(release[0], &byte, 1);  // holds the lock until the test lets go
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(RemoveAbandonedPartialFiles(dir.path()), 1);
  EXPECT_EQ(Names(dir.path()),
            (std::vector<std::string>{".quillpix-.part", ".quillpix-ba9876543210.part", "photo.jpg",
                                      "quillpix-0123456789ab.part"}));
  write(release[1], &byte, 1);
  waitpid(writer, nullptr, 0);
  // Once its writer has gone, it is abandoned too.
  EXPECT_EQ(RemoveAbandonedPartialFiles(dir.path() + "/"), 1);
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

}  // namespace
}  // namespace quill::platform
