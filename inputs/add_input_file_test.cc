#include "inputs/add_input_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quill {
namespace {

using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;

std::map<std::string, std::string> Items(const InputList& list) {
  std::map<std::string, std::string> items;
  for (const InputItem& item : list) items[item.path] = item.relative_folder;
  return items;
}

TEST(PathExtensionTest, TextAfterTheLastDotOfTheFileName) {
  struct Case {
    const char* path;
    const char* extension;
  };
  const Case cases[] = {
      {"/p/a.png", "png"},   {"/p/b.PNG", "PNG"}, {"a.tar.gz", "gz"},   {"/p/.hidden.png", "png"},
      {"/p/photo.png ", ""},                   // a blank after the dot
      {"/p/photo. png", ""}, {"/p/.png", ""},  // the dot begins the file name
      {".png", ""},          {"C:\\p\\.png", ""}, {"/p.d/file", ""},  // the only dot is in a folder
                                                                      // name
      {"C:\\p.d\\file", ""}, {"/p/noext", ""},    {"/p/trailing.", ""}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PathExtension(c.path), c.extension) << c.path;
}

TEST(RelativeFolderTest, PartOfTheFolderBelowTheBase) {
  struct Case {
    const char* path;
    const char* base;
    const char* relative;
  };
  const Case cases[] = {
      {"/photos/2019/May/a.png", "/photos/", "2019/May/"},
      {"/photos/2019/a.png", "/photos/", "2019/"},
      {"/photos/a.png", "/photos/", ""},
      {"/other/a.png", "/photos/", ""},
      {"/Photos/2019/a.png", "/photos/", ""},  // letter case counts
      {"/photos/2019/a.png", "", ""},
      {"", "/photos/", ""},
      {"a.png", "/photos/", ""},
      // The base standing in the middle of the folder does not make the file lie below it.
      {"/x/a/b/f.png", "/a/", ""},
      {"/a/x/a/b/f.png", "/a/", "x/a/b/"},
      // A base without its final separator still names a whole folder.
      {"/photos/2019/a.png", "/photos", "2019/"},
      {"/photos2/a.png", "/photos", ""},
      {"photos/2019/a.png", "photos/", "2019/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RelativeFolder(c.path, c.base), c.relative) << c.path << " below " << c.base;
  }
}

class AddInputFileTest : public ::testing::Test {
 protected:
  AddInputFileTest() {
    list_.SetAcceptedExtensions({"png", "tif"});
    job_.console_flag = 1;
  }

  std::string Make(const std::string& name, const std::string& bytes = "data") {
    return dir_.MakeFile(name, bytes);
  }
  std::string MakeFolder(const std::string& name) { return dir_.MakeFolder(name); }

  TempFolder dir_;
  InputList list_;
  JobState job_;
};

TEST_F(AddInputFileTest, SizeAndExtensionRules) {
  MakeFolder("dir.png");
  MakeFolder("sub.png");
  ASSERT_EQ(mkfifo((dir_ / "pipe.png").c_str(), 0600), 0);
  struct Case {
    std::string name;
    std::string bytes;  // no file at all when "-"
    bool added;
  };
  const std::vector<Case> cases = {
      {"a.png", "", false},  // zero bytes
      {"b.PNG", "x", true},  // lower-cased before the comparison
      {"c.Tif", "x", true},
      {"photo.png ", "x", false},    // ends in a blank
      {".png", "x", false},          // only a dot and an extension
      {"sub.png/file", "x", false},  // a dot in a folder name only
      {"d.jpg", "x", false},         // not accepted
      {"e", "x", false},
      {"f.", "x", false},
      {"g.png.txt", "x", false},
      {"h.txt.png", "x", true},
      {"pipe.png", "-", false},    // a FIFO would block the reader
      {"missing.png", "-", true},  // callers pass existing paths; a missing one is not refused
      {"dir.png", "-", true},      // nor is a folder
  };
  for (const Case& c : cases) {
    const std::string path = dir_ / c.name;
    if (c.bytes != "-") WriteFile(path, c.bytes);
    EXPECT_EQ(AddInputFile(list_, job_, path), c.added) << c.name;
    EXPECT_EQ(list_.Contains(path), c.added) << c.name;
  }
}

TEST_F(AddInputFileTest, KeysAreExactPathsIncludingLetterCase) {
  const std::string lower = Make("a.png");
  const std::string upper = Make("A.PNG");
  EXPECT_TRUE(AddInputFile(list_, job_, lower));
  EXPECT_FALSE(AddInputFile(list_, job_, lower));
  EXPECT_TRUE(AddInputFile(list_, job_, upper));
  // Another spelling of the same file is another key.
  EXPECT_TRUE(AddInputFile(list_, job_, dir_.path() + "//a.png"));
  EXPECT_EQ(list_.Count(), 3u);
  EXPECT_EQ(list_.Find(dir_.path() + "/A.png"), nullptr);
}

TEST_F(AddInputFileTest, RelativeFolderIsMeasuredAgainstTheBaseAtAddingTime) {
  MakeFolder("base");
  MakeFolder("base/2019");
  MakeFolder("other");
  const std::string inside = Make("base/2019/in.png");
  const std::string outside = Make("other/out.png");
  const std::string later = Make("base/2019/later.png");
  job_.input_base_folder = dir_ / "base/";
  ASSERT_TRUE(AddInputFile(list_, job_, inside));
  ASSERT_TRUE(AddInputFile(list_, job_, outside));
  job_.input_base_folder.clear();  // after New
  ASSERT_TRUE(AddInputFile(list_, job_, later));
  EXPECT_EQ(Items(list_),
            (std::map<std::string, std::string>{{inside, "2019/"}, {outside, ""}, {later, ""}}));
}

TEST_F(AddInputFileTest, AddedHookRunsOnlyOutsideConsoleRuns) {
  std::vector<std::string> rows;
  list_.SetAddedHook([&rows](const InputItem& item) { rows.push_back(item.path); });
  const std::string first = Make("first.png");
  const std::string second = Make("second.png");
  job_.console_flag = 1;
  ASSERT_TRUE(AddInputFile(list_, job_, first));
  EXPECT_TRUE(rows.empty());
  job_.console_flag = 0;
  ASSERT_TRUE(AddInputFile(list_, job_, second));
  EXPECT_FALSE(AddInputFile(list_, job_, second));
  EXPECT_EQ(rows, std::vector<std::string>{second});
}

TEST_F(AddInputFileTest, WalkAddsANestedTreeWithRelativeFolders) {
  MakeFolder("tree");
  MakeFolder("tree/2019");
  MakeFolder("tree/2019/May");
  MakeFolder("tree/dots.d");
  const std::string base = dir_ / "tree/";
  Make("tree/x.png");
  Make("tree/2019/y.png");
  Make("tree/2019/May/z.PNG");
  Make("tree/2019/May/empty.png", "");
  Make("tree/dots.d/.hidden.png");
  Make("tree/dots.d/notes.txt");
  job_.input_base_folder = base;
  EXPECT_EQ(WalkInputFolder(list_, job_, dir_ / "tree"), 4);
  EXPECT_EQ(Items(list_), (std::map<std::string, std::string>{
                              {base + "x.png", ""},
                              {base + "2019/y.png", "2019/"},
                              {base + "2019/May/z.PNG", "2019/May/"},
                              {base + "dots.d/.hidden.png", "dots.d/"},
                          }));
  // Walked again, everything is in the list already.
  EXPECT_EQ(WalkInputFolder(list_, job_, base), 0);
  EXPECT_EQ(WalkInputFolder(list_, job_, dir_ / "no such folder/"), 0);
}

TEST_F(AddInputFileTest, WalkEntersEachFolderOnceThroughSymbolicLinks) {
  MakeFolder("tree");
  MakeFolder("tree/a");
  MakeFolder("elsewhere");
  Make("tree/a/f.png");
  Make("elsewhere/e.png");
  // Links back to the folder itself and to the top of the walk form loops.
  ASSERT_EQ(symlink(".", (dir_ / "tree/a/self").c_str()), 0);
  ASSERT_EQ(symlink("..", (dir_ / "tree/a/up").c_str()), 0);
  ASSERT_EQ(symlink(dir_.path().c_str(), (dir_ / "tree/a/abs").c_str()), 0);
  // A link to a folder outside the tree is walked like a folder of the tree, but only once.
  ASSERT_EQ(symlink("../elsewhere", (dir_ / "tree/ext").c_str()), 0);
  ASSERT_EQ(symlink("../elsewhere", (dir_ / "tree/ext2").c_str()), 0);
  const std::string base = dir_ / "tree/";
  job_.input_base_folder = base;

  EXPECT_EQ(WalkInputFolder(list_, job_, base), 2);
  const std::map<std::string, std::string> items = Items(list_);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items.count(base + "a/f.png"), 1u);
  // e.png comes through whichever path to "elsewhere" the listings reach first: one of the two
  // links, or the link to the temporary folder that holds both "tree" and "elsewhere".
  std::string other;
  for (const auto& [path, relative] : items) {
    if (path != base + "a/f.png") other = path;
  }
  EXPECT_THAT(other, ::testing::AnyOf(base + "ext/e.png", base + "ext2/e.png",
                                      base + "a/abs/elsewhere/e.png"));
}

}  // namespace
}  // namespace quill
