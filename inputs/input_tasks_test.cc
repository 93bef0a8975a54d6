#include "inputs/input_tasks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <latch>
#include <map>
#include <string>
#include <vector>

#include "inputs/add_input_file.h"
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

class InputTasksTest : public ::testing::Test {
 protected:
  InputTasksTest() {
    list_.SetAcceptedExtensions({"png"});
    job_.console_flag = 1;
  }

  std::string Make(const std::string& name, const std::string& bytes = "data") {
    return dir_.MakeFile(name, bytes);
  }
  std::string MakeFolder(const std::string& name) { return dir_.MakeFolder(name); }

  void Scan() {
    RunTask(progress_, [this] { InputFolderScan(list_, job_, progress_); });
  }
  void ReadList(const std::string& list_file) {
    job_.current_input_path = list_file;
    RunTask(progress_, [this] { InputListRead(list_, job_, progress_); });
  }

  TempFolder dir_;
  InputList list_;
  JobState job_;
  TaskProgress progress_;
};

TEST_F(InputTasksTest, FolderScanAddsTheTreeAndCountsTopEntries) {
  MakeFolder("photos");
  MakeFolder("photos/2019");
  MakeFolder("photos/2019/May");
  MakeFolder("photos/empty folder");
  const std::string base = dir_ / "photos/";
  Make("photos/x.png");
  Make("photos/zero.png", "");
  Make("photos/readme.txt");
  Make("photos/2019/y.png");
  Make("photos/2019/May/z.png");
  job_.input_base_folder = base;
  progress_.SetResult(7);  // an earlier task of the same run

  Scan();
  EXPECT_EQ(Items(list_), (std::map<std::string, std::string>{
                              {base + "x.png", ""},
                              {base + "2019/y.png", "2019/"},
                              {base + "2019/May/z.png", "2019/May/"},
                          }));
  const TaskProgress::Snapshot done = progress_.Read();
  EXPECT_EQ(done.processed, 5);  // x.png, zero.png, readme.txt, 2019, empty folder
  EXPECT_EQ(done.result, 7 + 3);
  EXPECT_EQ(done.current_path, "");

  // A base given without its final separator scans the same folder; nothing is new.
  job_.input_base_folder = dir_ / "photos";
  Scan();
  EXPECT_EQ(progress_.result(), 10);
  EXPECT_EQ(progress_.processed(), 5);
}

TEST_F(InputTasksTest, FolderScanSurvivesALinkLoopAtTheTop) {
  MakeFolder("photos");
  Make("photos/a.png");
  ASSERT_EQ(symlink(".", (dir_ / "photos/again").c_str()), 0);
  job_.input_base_folder = dir_ / "photos/";
  Scan();
  EXPECT_EQ(list_.Count(), 1u);
  EXPECT_EQ(progress_.result(), 1);
  EXPECT_EQ(progress_.processed(), 2);
}

TEST_F(InputTasksTest, TasksWithNothingToReadAddNothing) {
  progress_.SetResult(2);
  job_.input_base_folder = dir_ / "missing/";
  Scan();
  job_.input_base_folder.clear();
  Scan();
  ReadList(dir_ / "missing.txt");
  ReadList(Make("empty.txt", ""));
  EXPECT_TRUE(list_.Empty());
  EXPECT_EQ(progress_.result(), 2);
  EXPECT_EQ(progress_.processed(), 0);
}

TEST_F(InputTasksTest, AStopBeforeTheStartAddsNothingButStillReports) {
  MakeFolder("photos");
  Make("photos/a.png");
  const std::string list_file = Make("list.txt", dir_ / "photos/a.png\n");
  job_.input_base_folder = dir_ / "photos/";
  job_.current_input_path = list_file;
  progress_.SetResult(4);

  progress_.Prepare();
  progress_.RequestStop();
  InputFolderScan(list_, job_, progress_);
  InputListRead(list_, job_, progress_);
  EXPECT_TRUE(list_.Empty());
  EXPECT_EQ(progress_.processed(), 0);
  EXPECT_EQ(progress_.result(), 4);
}

TEST_F(InputTasksTest, AStopTakesEffectBetweenTopEntriesAndLines) {
  // The added hook asks for the stop as soon as the first file is added.
  list_.SetAddedHook([this](const InputItem&) { progress_.RequestStop(); });
  job_.console_flag = 0;

  // The only top entry is a folder: it is walked to its end although the stop came early.
  MakeFolder("photos");
  MakeFolder("photos/sub");
  Make("photos/sub/1.png");
  Make("photos/sub/2.png");
  Make("photos/sub/3.png");
  job_.input_base_folder = dir_ / "photos/";
  Scan();
  EXPECT_EQ(list_.Count(), 3u);
  EXPECT_EQ(progress_.processed(), 1);
  EXPECT_EQ(progress_.result(), 3);

  // A list stops after the line that added a file.
  const std::string a = Make("a.png");
  const std::string b = Make("b.png");
  ReadList(Make("list.txt", a + "\n" + b + "\n"));
  EXPECT_EQ(list_.Count(), 4u);
  EXPECT_TRUE(list_.Contains(a));
  EXPECT_EQ(progress_.processed(), 1);
  EXPECT_EQ(progress_.result(), 4);
}

TEST_F(InputTasksTest, ListFilesInTheirForms) {
  MakeFolder("photos");
  MakeFolder("photos/2019");
  const std::string a = Make("a.png");
  const std::string b = Make("B.PNG");
  const std::string zero = Make("zero.png", "");
  const std::string in_folder = Make("photos/2019/f.png");
  const std::string missing = dir_ / "missing.png";
  const std::string folder = dir_ / "photos";
  job_.input_base_folder = dir_ / "photos/";

  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> items;
    int32_t processed;  // lines that named something
  };
  const std::vector<Case> cases = {
      {"BOM, CR LF, blank lines, blanks around paths",
       "\xEF\xBB\xBF" + a + "\r\n\r\n   " + b + "  \r\n  \r\n" + zero + "\r\n",
       {a, b},
       3},
      {"CR only", a + "\r" + b + "\r\r", {a, b}, 2},
      {"LF, no line end at the end", a + "\n" + b, {a, b}, 2},
      {"mixed line ends", a + "\r\n" + b + "\r" + zero + "\n", {a, b}, 3},
      {"a UTF-16 mark before UTF-8 text", "\xFF\xFE" + a + "\r\n", {a}, 1},
      {"a UTF-16 big-endian mark", "\xFE\xFF" + b + "\n", {b}, 1},
      {"missing files and a tab", missing + "\n\t" + a + "\n" + a + "\n", {a}, 1},
      {"a folder line without separator", folder + "\n", {in_folder}, 1},
      {"a folder line with separator and blanks",
       " " + folder + "/ \n" + a + "\n",
       {in_folder, a},
       2},
      {"a line with a NUL", a + std::string(1, '\0') + "junk\n" + b + "\n", {b}, 1},
      {"only a mark", "\xEF\xBB\xBF", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list_.Clear();
    progress_.ResetResult();
    ReadList(Make("list.txt", c.bytes));
    std::vector<std::string> added;
    list_.ForEachInAddedOrder([&added](const InputItem& item) { added.push_back(item.path); });
    EXPECT_EQ(added, c.items);
    EXPECT_EQ(progress_.processed(), c.processed);
    EXPECT_EQ(progress_.result(), static_cast<int32_t>(c.items.size()));
  }
  // Files found through a folder line are measured against the job's base folder.
  list_.Clear();
  ReadList(Make("list.txt", folder + "\n"));
  ASSERT_NE(list_.Find(in_folder), nullptr);
  EXPECT_EQ(list_.Find(in_folder)->relative_folder, "2019/");
}

TEST_F(InputTasksTest, LongListFilesSplitLinesAcrossReadBlocksCorrectly) {
  // Lines of varying length in a file several read blocks long: a path or a CR LF pair that
  // straddles a block boundary must still be one line.
  const std::vector<std::string> files = {Make("one.png"), Make("two.png"), Make("three.png")};
  const char* ends[] = {"\r\n", "\n", "\r"};
  std::string text = "\xEF\xBB\xBF";
  const int kLines = 6000;
  for (int i = 0; i < kLines; ++i) {
    text += std::string(i % 11, ' ') + files[i % 3] + std::string(i % 5, ' ') + ends[i % 3];
  }
  ASSERT_GT(text.size(), 3u * 65536u);
  ReadList(Make("long.lst", text));
  EXPECT_EQ(list_.Count(), 3u);
  EXPECT_EQ(progress_.processed(), kLines);
  EXPECT_EQ(progress_.result(), 3);
}

TEST_F(InputTasksTest, DevicesFifosAndHostileListsAreNeverReadAsImages) {
  const std::string fifo = dir_.path() + "/pipe.png";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string photo = Make("photo.png");
  // A NUL in a line, a line of two megabytes, invalid UTF-8, devices and the fifo: only the
  // photo is added, and nothing blocks on the fifo.
  std::string list = "/dev/zero\n/dev/null\n" + fifo + "\n" + std::string(2 << 20, 'x') + "\n" +
                     photo + "\n\xff\xfe\xc3(.png\n" + photo.substr(0, 3) + std::string(1, '\0') +
                     "x.png\n";
  list.append(10 << 20, '\n');  // ten megabytes of empty lines
  ReadList(Make("list.txt", list));
  EXPECT_EQ(progress_.result(), 1);
  ASSERT_EQ(list_.Count(), 1u);
  EXPECT_EQ(list_.begin()->path, photo);

  // A folder holding a fifo is walked without opening it.
  MakeFolder("walked");
  const std::string walked_fifo = dir_.path() + "/walked/pipe.png";
  ASSERT_EQ(mkfifo(walked_fifo.c_str(), 0600), 0);
  Make("walked/real.png");
  job_.input_base_folder = dir_.path() + "/walked/";
  Scan();
  EXPECT_EQ(list_.Count(), 2u);
}

TEST(TaskThreadTest, StartPreparesTheRecordAndJoinWaitsForTheEnd) {
  TaskProgress progress;
  progress.SetProgress(9, "/old/path.png");
  progress.SetResult(5);
  progress.RequestStop();
  bool saw_running = false;
  TaskThread thread = TaskThread::Start(progress, [&] {
    saw_running = progress.KeepRunning();
    progress.SetProcessed(progress.processed() + 1);
    progress.AddResult(1);
  });
  thread.Join();
  EXPECT_TRUE(thread.Finished());
  EXPECT_TRUE(saw_running);
  EXPECT_EQ(progress.processed(), 1);  // reset to 0 before the task ran
  EXPECT_EQ(progress.current_path(), "");
  EXPECT_EQ(progress.result(), 6);  // kept for the total
}

TEST(TaskThreadTest, APausedTaskGoesOnWhenResumedOrStopped) {
  for (bool stop : {false, true}) {
    SCOPED_TRACE(stop ? "stopped" : "resumed");
    TaskProgress progress;
    std::latch started(1);
    std::latch paused(1);
    bool keep_running = !stop;
    TaskThread thread = TaskThread::Start(progress, [&] {
      started.count_down();
      paused.wait();
      keep_running = progress.KeepRunning();  // waits here until resumed or stopped
    });
    started.wait();
    progress.Pause();
    paused.count_down();
    if (stop) {
      progress.RequestStop();
    } else {
      progress.Resume();
    }
    thread.Join();
    EXPECT_EQ(keep_running, !stop);
  }
}

}  // namespace
}  // namespace quill
