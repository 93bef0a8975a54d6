// The conversion run over a list of good and broken files: order, counts, counters, debug
// lines, subfolders and the cooperative stop.
#include "engine/conversion_worker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/image_library.h"
#include "engine/save_flags.h"
#include "engine/test_images.h"
#include "engine/watermark_font.h"
#include "inputs/add_input_file.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

class ConversionWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseImageLibrary();
    ResetSettings(settings_, DefaultsFlavour::kConsole);
    ResetJobState(job_);
    inputs_.SetAcceptedExtensions({"png"});
    out_ = folder_.MakeFolder("out") + "/";
    job_.input_base_folder = folder_.MakeFolder("in") + "/";
    job_.output_folder = out_;
    job_.conversion_type = "jpg";
    job_.output_library_format = FIF_JPEG;
    job_.output_bit_depth = 0;
    job_.automatic_depth = 1;
    job_.output_save_flags = SaveFlags("jpg", settings_);
    job_.console_flag = 1;
    job_.run_mode = "DEBUG";
    job_.worker_count = 1;  // the single worker; several at once are compared with it below
  }

  // Adds a good PNG, or a file that only claims to be one.
  void Add(const std::string& name, bool good = true) {
    const std::string path = job_.input_base_folder + name;
    fs::create_directories(fs::path(path).parent_path());
    if (good) {
      ASSERT_TRUE(testing::SavePng(testing::MakeTestImage(testing::TestKind::kRgb24), path));
    } else {
      testing::WriteFile(path, "not a png at all");
    }
    ASSERT_TRUE(AddInputFile(inputs_, job_, path));
  }

  int32_t Run() {
    ConversionRun run{
        settings_, formats_, inputs_, job_, progress_, [this](const std::string& line) {
          lines_.push_back(line);
          if (stop_at_first_ && line.rfind("Processing: ", 0) == 0) {
            progress_.RequestStop();
          }
        }};
    return RunConversion(run);
  }

  std::set<std::string> Outputs() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(out_)) {
      if (entry.is_regular_file()) names.insert(entry.path().string().substr(out_.size()));
    }
    return names;
  }

  testing::TempFolder folder_;
  std::string out_;
  Settings settings_;
  JobState job_;
  InputList inputs_;
  TaskProgress progress_;
  const FormatRegistry formats_;
  std::vector<std::string> lines_;
  bool stop_at_first_ = false;
};

TEST_F(ConversionWorkerTest, ConvertsInListOrderAndNumbersOnlyTheSuccesses) {
  settings_.filename_mask = "%n%_%filename%.%ext%";
  job_.counter = 1;
  Add("a.png");
  Add("broken.png", false);
  Add("c.png");
  Add("d.png", false);
  Add("e.png");
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(progress_.result(), 3);
  EXPECT_EQ(progress_.processed(), 5);
  EXPECT_EQ(job_.counter, 4);

  // The debug lines follow the list's own order; a failed file takes no number.
  std::vector<std::string> expected;
  std::set<std::string> expected_outputs;
  int32_t counter = 1;
  for (const InputItem& item : inputs_) {
    const std::string name = fs::path(item.path).stem().string();
    expected.push_back("Processing: " + item.path);
    if (name == "broken" || name == "d") {
      expected.push_back("Saving As: ");
      expected.push_back("Not OK");
    } else {
      const std::string output = "0000" + std::to_string(counter++) + "_" + name + ".jpg";
      expected.push_back("Saving As: " + out_ + output);
      expected.push_back("OK");
      expected_outputs.insert(output);
    }
  }
  EXPECT_EQ(lines_, expected);
  EXPECT_EQ(Outputs(), expected_outputs);
  EXPECT_EQ(progress_.current_path(), expected.rbegin()[2].substr(12));
}

TEST_F(ConversionWorkerTest, AllFailingLeavesCountersAndRandomNumberAlone) {
  Add("x.png", false);
  Add("y.png", false);
  const int32_t random_before = job_.random_number;
  const int32_t counter_before = job_.counter;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(progress_.processed(), 2);
  EXPECT_EQ(job_.random_number, random_before);
  EXPECT_EQ(job_.counter, counter_before);
  EXPECT_TRUE(Outputs().empty());
}

TEST_F(ConversionWorkerTest, StopDuringTheFirstFileFinishesThatFile) {
  Add("a.png");
  Add("b.png");
  Add("c.png");
  stop_at_first_ = true;
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(progress_.processed(), 1);
  EXPECT_EQ(Outputs().size(), 1u);
  EXPECT_EQ(lines_.size(), 3u);
}

TEST_F(ConversionWorkerTest, FilesThatVanishOrShrinkAfterTheImportAreNotConverted) {
  Add("gone.png");
  Add("shrunk.png");
  Add("kept.png");
  fs::remove(job_.input_base_folder + "gone.png");
  fs::resize_file(job_.input_base_folder + "shrunk.png", 40);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(progress_.processed(), 3);
  EXPECT_EQ(Outputs(), std::set<std::string>{"kept.jpg"});
}

TEST_F(ConversionWorkerTest, KeepSubfoldersMirrorsTheInputTree) {
  settings_.keep_subfolders = 1;
  Add("top.png");
  Add("2019/May/deep.png");
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(Outputs(), (std::set<std::string>{"top.jpg", "2019/May/deep.jpg"}));
}

// Seconds since 1970 of a file's last write, as the system's own tool reads it.
int64_t StatTime(const std::string& path) {
  return std::stoll(testing::RunProgram({"stat", "-c", "%Y", path}).out);
}

TEST_F(ConversionWorkerTest, TimeStampsAreGivenToEachWrittenFile) {
  setenv("TZ", "UTC0", 1);
  tzset();
  Add("a.png");
  Add("b.png");
  settings_.file_timestamp = 2;             // CUSTOM
  settings_.custom_timestamp = 1262347200;  // 2010-01-01 12:00:00
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(StatTime(out_ + "a.jpg"), 1262347200);
  EXPECT_EQ(StatTime(out_ + "b.jpg"), 1262347200);

  settings_.file_timestamp = 1;  // ORIGINAL
  testing::RunProgram({"touch", "-d", "@1000000000", job_.input_base_folder + "a.png"});
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(StatTime(out_ + "a.jpg"), 1000000000);
  EXPECT_EQ(StatTime(out_ + "b.jpg"), StatTime(job_.input_base_folder + "b.png"));
  unsetenv("TZ");
  tzset();
}

TEST_F(ConversionWorkerTest, QuietWithoutDebugMode) {
  job_.run_mode.clear();
  Add("a.png");
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(lines_.empty());
}

TEST_F(ConversionWorkerTest, ResultIsThisRunsCount) {
  Add("a.png");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Run(), 1);
}

// Everything a run leaves behind: the debug lines, the counts, the counters and each written
// file with its bytes and time stamp.
struct RunRecord {
  int32_t converted = 0;
  int32_t processed = 0;
  int32_t counter = 0;
  int32_t random_number = 0;
  std::vector<std::string> lines;
  std::map<std::string, std::pair<std::string, int64_t>> files;
  bool operator==(const RunRecord&) const = default;
};

class SeveralWorkersTest : public ConversionWorkerTest {
 protected:
  RunRecord RunWith(int workers) {
    fs::remove_all(out_);
    fs::create_directories(out_);
    lines_.clear();
    job_.worker_count = workers;
    job_.counter = 1;
    SeedRandomNumbers(7);
    job_.random_number = DrawRandomNumber();
    RunRecord record;
    record.converted = Run();
    record.processed = progress_.processed();
    record.counter = job_.counter;
    record.random_number = job_.random_number;
    record.lines = lines_;
    for (const std::string& name : Outputs()) {
      record.files[name] = {testing::ReadFile(out_ + name), StatTime(out_ + name)};
    }
    return record;
  }
};

TEST_F(SeveralWorkersTest, GiveWhatOneWorkerGives) {
  setenv("TZ", "UTC0", 1);
  tzset();
  settings_.keep_subfolders = 1;
  settings_.filename_mask = "%filename%-%n%-%rnd%.%ext%";
  settings_.file_timestamp = 2;
  settings_.custom_timestamp = 1262347200;
  // The frame and the watermark are drawn once and shared by the workers.
  settings_.do_frame = 1;
  settings_.solid_left = 3;
  settings_.do_watermark = 1;
  settings_.text = "Sample";
  const ScopedWatermarkFont font(settings_);
  for (int i = 0; i < 12; ++i) {
    Add("photo" + std::to_string(i) + ".png");
    if (i % 4 == 1) Add("broken" + std::to_string(i) + ".png", false);
  }
  Add("2019/May/deep.png");
  const RunRecord one = RunWith(1);
  ASSERT_EQ(one.converted, 13);
  EXPECT_EQ(one.processed, 16);
  for (const int workers : {2, 4, 7}) EXPECT_TRUE(RunWith(workers) == one) << workers;
  unsetenv("TZ");
}

TEST_F(SeveralWorkersTest, AWatermarkShowingTheCounterConvertsOneAtATime) {
  settings_.do_watermark = 1;
  settings_.text = "No. %N%";
  settings_.file_timestamp = 2;  // a fixed time stamp: the write time differs between runs
  settings_.custom_timestamp = 1262347200;
  const ScopedWatermarkFont font(settings_);
  for (int i = 0; i < 4; ++i) Add("p" + std::to_string(i) + ".png");
  const RunRecord one = RunWith(1);
  EXPECT_EQ(one.converted, 4);
  // The numbers differ from file to file, so each file was drawn after the one before it.
  EXPECT_TRUE(RunWith(4) == one);
}

TEST_F(SeveralWorkersTest, AStopFinishesTheFilesInProgressAndLeavesOnlyWholeFiles) {
  for (int i = 0; i < 20; ++i) Add("p" + std::to_string(i) + ".png");
  job_.worker_count = 4;
  stop_at_first_ = true;
  const int32_t converted = Run();
  EXPECT_GE(converted, 1);
  EXPECT_LT(converted, 20);
  EXPECT_EQ(progress_.processed(), converted);
  const std::set<std::string> outputs = Outputs();
  EXPECT_EQ(outputs.size(), static_cast<size_t>(converted));
  for (const std::string& name : outputs) {
    EXPECT_TRUE(testing::DecodeJpeg(out_ + name).has_value()) << name;
  }
}

}  // namespace
}  // namespace quill
