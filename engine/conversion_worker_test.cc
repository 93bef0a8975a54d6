// The conversion run over a list of good and broken files: order, counts, counters, debug
// lines, subfolders and the cooperative stop.
#include "engine/conversion_worker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/image_library.h"
#include "engine/save_flags.h"
#include "engine/test_images.h"
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

}  // namespace
}  // namespace quill
