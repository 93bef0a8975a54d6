// Tests of output naming: placeholders, masks, output paths, mirrored subfolders, time stamps.
#include "engine/output_name.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/dates.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;
using std::chrono::sys_seconds;

// Runs each test in a fixed time zone three hours ahead of UTC without summer time, so that
// local dates and file times have exact expected values.
class LocalTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    if (old != nullptr) saved_ = old;
    setenv("TZ", "XST-3", 1);
    tzset();
  }
  void TearDown() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

constexpr int32_t kZoneOffset = 3 * 3600;

// 2021-03-04 05:06:07 on the local wall clock.
constexpr int32_t kFixedDate = 1614834367;

JobState SampleJob() {
  JobState job;
  job.current_input_path = "/pics/sub/mY pHOTO.png";
  job.output_folder = "/out/";
  job.conversion_type = "jpg";
  job.output_bit_depth = 24;
  job.image_width = 640;
  job.image_height = 480;
  job.random_number = 4321;
  job.counter = 7;
  return job;
}

Settings MaskSettings(std::string mask) {
  Settings settings;
  settings.filename_mask = std::move(mask);
  settings.keep_subfolders = 1;
  return settings;
}

TEST(OutputNameTest, FixedDateIsTheExpectedWallClock) {
  const platform::DateFields d = platform::SplitDate(kFixedDate);
  EXPECT_EQ(d.year, 2021);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.day, 4);
  EXPECT_EQ(d.hour, 5);
  EXPECT_EQ(d.minute, 6);
  EXPECT_EQ(d.second, 7);
}

TEST(OutputNameTest, MasksGiveTheirNames) {
  struct Case {
    const char* mask;
    const char* name;
  };
  const Case cases[] = {
      {"", "mY pHOTO.jpg"},
      {"%filename%.%ext%", "mY pHOTO.jpg"},
      {"%FILENAME%.%EXT%", "mY pHOTO.jpg"},
      {"%filename[u]%", "MY PHOTO"},
      {"%filename[l]%", "my photo"},
      {"%filename[t]%", "My photo"},
      {"%FiLeNaMe[T]%", "My photo"},
      {"%ext%-%ext[u]%-%ext[t]%", "jpg-JPG-Jpg"},
      {"%EXT[U]%", "JPG"},
      {"%yyyy%%mm%%dd%_%hh%%ii%%ss%", "20210304_050607"},
      {"%bpp%_%width%x%height%", "24_640x480"},
      {"%rnd%_%n%", "04321_00007"},
      {"IMG_%n%.%ext%", "img_00007.jpg"},
      {"%n%-%N%-%n%", "00007-00007-00007"},
      {"%foo%%n", "%foo%%n"},
      {"Ärger_%n%", "ärger_00007"},  // literal text of the mask is lower-cased
  };
  const JobState job = SampleJob();
  for (const Case& c : cases) {
    EXPECT_EQ(OutputFileName(MaskSettings(c.mask), job, kFixedDate), c.name) << c.mask;
  }
}

TEST(OutputNameTest, FileNamesBecomeNames) {
  struct Case {
    const char* input;
    const char* mask;
    const char* name;
  };
  const Case cases[] = {
      {"/in/photo.2019.png", "", "photo.2019.jpg"},
      {"/in/Beach.PNG", "", "Beach.jpg"},
      {"/in/noext", "%filename%.%ext%", "noext.jpg"},
      {"/in/end.", "", "end.jpg"},
      {"relative.png", "%filename%", "relative"},
      // Placeholders that a file name brings in are replaced when they come later in the order,
      // and a value is never searched again for the placeholder it replaced.
      {"/in/a%n%.png", "", "a00001.jpg"},
      {"/in/a%N%.png", "", "a00001.jpg"},
      {"/in/b%ext%.png", "", "bjpg.jpg"},
      {"/in/x%filename%.png", "%filename%", "x%filename%"},
      {"/in/x%filename%.png", "%filename[u]%", "X%FILENAME%"},
      // Letters beyond ASCII change case too; bytes that are not UTF-8 stay as they are.
      {"/in/éCOLE.png", "%filename[t]%", "École"},
      {"/in/ärger.png", "%filename[u]%", "ÄRGER"},
      {"/in/ĀŁÓDŹ.png", "%filename[l]%", "āłódź"},
      {"/in/āłódźÿ.png", "%filename[u]%", "ĀŁÓDŹŸ"},
      {"/in/пРИВЕТ.png", "%filename[t]%", "Привет"},
      {"/in/ΆΛΦΑ.png", "%filename[l]%", "άλφα"},
      {"/in/\xFF\x41.png", "%filename[l]%", "\xFF\x61"},
      {"/in/\xC3\x41.png", "%filename[l]%", "\xC3\x61"},
  };
  for (const Case& c : cases) {
    JobState job = SampleJob();
    job.current_input_path = c.input;
    job.counter = 1;
    EXPECT_EQ(OutputFileName(MaskSettings(c.mask), job, kFixedDate), c.name) << c.input;
  }
}

TEST(OutputNameTest, NumbersAreFilledToFiveCharacters) {
  struct Case {
    int32_t number;
    const char* text;
  };
  const Case cases[] = {
      {1, "00001"}, {42, "00042"}, {99999, "99999"}, {123456, "12345"}, {100000, "10000"}};
  for (const Case& c : cases) {
    JobState job = SampleJob();
    job.counter = c.number;
    job.random_number = c.number;
    EXPECT_EQ(OutputFileName(MaskSettings("%n%"), job, kFixedDate), c.text) << c.number;
    EXPECT_EQ(OutputFileName(MaskSettings("%rnd%"), job, kFixedDate), c.text) << c.number;
  }
}

TEST(OutputNameTest, ExpansionKeepsTheCaseOfTheText) {
  PlaceholderValues values = PlaceholderValuesFor(SampleJob(), kFixedDate);
  EXPECT_EQ(ExpandPlaceholders("Photo %FILENAME% (%Width%x%HEIGHT%)%eol%By Me", values),
            "Photo mY pHOTO (640x480)%eol%By Me");
  EXPECT_EQ(ReplacePlaceholder("a%EOL%b%eol%", "%eol%", "\n"), "a\nb\n");
  EXPECT_EQ(FilenamePlaceholders().size(), 18u);
  EXPECT_EQ(FilenamePlaceholders().front(), "%filename%");
  EXPECT_EQ(FilenamePlaceholders().back(), "%n%");
}

// A name is one entry of its folder: separators never lead elsewhere and a name that names no
// file is refused.
TEST(OutputNameTest, UnsafeNamesStayInTheirFolder) {
  struct Case {
    const char* input;
    const char* mask;
    const char* name;
  };
  const Case cases[] = {
      {"/in/x.png", "../%filename%.%ext%", ".._x.jpg"},
      {"/in/x.png", "../../etc/%filename%", ".._.._etc_x"},
      {"/in/x.png", "/tmp/%filename%", "_tmp_x"},
      {"/in/x.png", "sub\\%filename%", "sub_x"},
      {"/in/x.png", "..", ""},
      {"/in/x.png", ".", ""},
      {"/in/.png", "%filename%", ""},
      {"/in/..png", "%filename%", ""},
      {"/in/x.png", "..%filename[u]%", "..X"},
  };
  for (const Case& c : cases) {
    JobState job = SampleJob();
    job.current_input_path = c.input;
    const Settings settings = MaskSettings(c.mask);
    EXPECT_EQ(OutputFileName(settings, job, kFixedDate), c.name) << c.mask;
    const std::string path = OutputPath(settings, job, kFixedDate);
    if (*c.name == '\0') {
      EXPECT_EQ(path, "") << c.mask;
    } else {
      EXPECT_EQ(path, std::string("/out/") + c.name) << c.mask;
    }
  }
}

TEST(OutputNameTest, OutputPaths) {
  struct Case {
    const char* output_folder;
    const char* relative;
    bool keep;
    const char* path;
  };
  const Case cases[] = {
      {"/out/", "2019/may/", true, "/out/2019/may/x.jpg"},
      {"/out/", "2019/may/", false, "/out/x.jpg"},
      {"/out/", "", true, "/out/x.jpg"},
      {"/out", "2019/", true, "/out/2019/x.jpg"},  // a missing separator is added
      {"/out/", "2019", true, "/out/2019/x.jpg"},
      {"/out/", "../", true, ""},  // relative folders that would leave the output folder
      {"/out/", "a/../../", true, ""},
      {"/out/", "./", true, ""},
      {"/out/", "/etc/", true, ""},
      {"/out/", "../", false, "/out/x.jpg"},
      {"/out/", "..a/b../", true, "/out/..a/b../x.jpg"},
      {"", "", true, ""},  // no output folder: nothing to write into
  };
  for (const Case& c : cases) {
    JobState job = SampleJob();
    job.current_input_path = "/pics/2019/may/x.png";
    job.output_folder = c.output_folder;
    job.current_relative_folder = c.relative;
    Settings settings = MaskSettings("");
    settings.keep_subfolders = c.keep ? 1 : 0;
    EXPECT_EQ(OutputPath(settings, job, kFixedDate), c.path)
        << c.output_folder << " " << c.relative << " " << c.keep;
  }
}

// The overloads without a date read the local clock in the current time zone.
TEST_F(LocalTimeTest, DatePlaceholdersFollowTheLocalClock) {
  const Settings settings = MaskSettings("%yyyy%-%mm%-%dd% %hh%:%ii%:%ss%");
  const JobState job = SampleJob();
  for (int attempt = 0; attempt < 5; ++attempt) {
    const auto before = std::chrono::floor<seconds>(std::chrono::system_clock::now());
    const std::string name = OutputFileName(settings, job);
    const auto after = std::chrono::floor<seconds>(std::chrono::system_clock::now());
    if (before != after) continue;  // the second changed meanwhile: try again
    const sys_seconds local = before + seconds(kZoneOffset);
    const auto day = std::chrono::floor<std::chrono::days>(local);
    const std::chrono::year_month_day ymd(day);
    const std::chrono::hh_mm_ss<seconds> time(local - day);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%04d-%02u-%02u %02d:%02d:%02d", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    EXPECT_EQ(name, expected);
    EXPECT_EQ(OutputPath(settings, job), "/out/" + name);
    return;
  }
  FAIL() << "the clock never stayed within one second";
}

TEST(PrepareSubfoldersTest, CreatesEveryMissingLevel) {
  testing::TempFolder temp;
  ASSERT_TRUE(platform::CreateFolder(temp / "out"));
  JobState job;
  job.output_folder = temp / "out/";
  Settings settings;
  settings.keep_subfolders = 1;

  job.current_relative_folder = "2019/may/day/";
  EXPECT_TRUE(PrepareSubfolders(settings, job));
  EXPECT_TRUE(platform::FolderExists(temp / "out/2019"));
  EXPECT_TRUE(platform::FolderExists(temp / "out/2019/may"));
  EXPECT_TRUE(platform::FolderExists(temp / "out/2019/may/day"));

  // Existing levels are kept (with what they hold), missing ones below them are made.
  testing::WriteFile(temp / "out/2019/keep.txt", "x");
  job.current_relative_folder = "2019/june/";
  EXPECT_TRUE(PrepareSubfolders(settings, job));
  EXPECT_TRUE(platform::FolderExists(temp / "out/2019/june"));
  EXPECT_EQ(testing::ReadFile(temp / "out/2019/keep.txt"), "x");

  // All there already, or nothing to mirror.
  EXPECT_TRUE(PrepareSubfolders(settings, job));
  job.current_relative_folder = "";
  EXPECT_TRUE(PrepareSubfolders(settings, job));
}

TEST(PrepareSubfoldersTest, ReportsWhatCannotBeMade) {
  testing::TempFolder temp;
  ASSERT_TRUE(platform::CreateFolder(temp / "out"));
  testing::WriteFile(temp / "out/file", "x");
  Settings settings;
  settings.keep_subfolders = 1;
  JobState job;
  job.output_folder = temp / "out/";

  job.current_relative_folder = "file/deeper/";  // a level is a file
  EXPECT_FALSE(PrepareSubfolders(settings, job));
  EXPECT_EQ(testing::ReadFile(temp / "out/file"), "x");

  job.current_relative_folder = "../escaped/";  // would leave the output folder
  EXPECT_FALSE(PrepareSubfolders(settings, job));
  EXPECT_FALSE(platform::FolderExists(temp / "escaped"));

  job.output_folder = temp / "missing/";  // the output folder itself is not made
  job.current_relative_folder = "a/";
  EXPECT_FALSE(PrepareSubfolders(settings, job));
  EXPECT_FALSE(platform::FolderExists(temp / "missing"));

  // With "Keep Subfolders" off nothing is made and nothing is needed.
  settings.keep_subfolders = 0;
  job.output_folder = temp / "out/";
  job.current_relative_folder = "off/";
  EXPECT_TRUE(PrepareSubfolders(settings, job));
  EXPECT_FALSE(platform::FolderExists(temp / "out/off"));
}

// Last-write time of a file in seconds since the epoch (UTC), read through the file system.
std::optional<sys_seconds> FileSeconds(const std::string& path) {
  std::error_code error;
  const fs::file_time_type time = fs::last_write_time(path, error);
  if (error) return std::nullopt;
  return std::chrono::floor<seconds>(std::chrono::file_clock::to_sys(time));
}

void SetFileTime(const std::string& path, std::chrono::system_clock::time_point time) {
  std::error_code error;
  fs::last_write_time(path, std::chrono::file_clock::from_sys(time), error);
  ASSERT_FALSE(error) << error.message();
}

TEST_F(LocalTimeTest, CustomTimestampIsTheLocalTimeGiven) {
  testing::TempFolder temp;
  const std::string out = temp / "x.jpg";
  testing::WriteFile(out, "jpeg");
  Settings settings;
  settings.file_timestamp = 2;             // CUSTOM
  settings.custom_timestamp = 1589723130;  // 2020-05-17 13:45:30 local
  EXPECT_TRUE(ApplyTimestamp(settings, JobState{}, out));
  // 13:45:30 at three hours ahead of UTC is 10:45:30 UTC.
  EXPECT_EQ(FileSeconds(out), sys_seconds(seconds(1589723130 - kZoneOffset)));
  EXPECT_EQ(platform::LastWriteTime(out), 1589723130);
}

TEST_F(LocalTimeTest, OriginalTimestampCopiesTheInputToTheSecond) {
  testing::TempFolder temp;
  const std::string in = temp / "x.png";
  const std::string out = temp / "x.jpg";
  testing::WriteFile(in, "png");
  testing::WriteFile(out, "jpeg");
  const sys_seconds original(seconds(1500000000));
  SetFileTime(in, original + std::chrono::milliseconds(700));
  Settings settings;
  settings.file_timestamp = 1;  // ORIGINAL
  JobState job;
  job.current_input_path = in;
  EXPECT_TRUE(ApplyTimestamp(settings, job, out));
  EXPECT_EQ(FileSeconds(out), original);
  EXPECT_EQ(FileSeconds(in), original);  // the input keeps its time

  // An input that cannot be read leaves the output alone and says so.
  SetFileTime(out, original + seconds(99));
  job.current_input_path = temp / "gone.png";
  EXPECT_FALSE(ApplyTimestamp(settings, job, out));
  EXPECT_EQ(FileSeconds(out), original + seconds(99));
}

TEST_F(LocalTimeTest, CurrentTimestampLeavesTheWrittenTime) {
  testing::TempFolder temp;
  const std::string out = temp / "x.jpg";
  testing::WriteFile(out, "jpeg");
  const std::optional<sys_seconds> written = FileSeconds(out);
  ASSERT_TRUE(written);
  const auto now = std::chrono::system_clock::now();
  EXPECT_LT(std::chrono::abs(*written - now), seconds(5));

  Settings settings;
  settings.file_timestamp = 0;  // CURRENT
  settings.custom_timestamp = 1589723130;
  EXPECT_TRUE(ApplyTimestamp(settings, JobState{}, out));
  EXPECT_EQ(FileSeconds(out), written);
}

TEST_F(LocalTimeTest, TimestampOfAMissingOutputFails) {
  testing::TempFolder temp;
  Settings settings;
  settings.file_timestamp = 2;
  settings.custom_timestamp = 1589723130;
  EXPECT_FALSE(ApplyTimestamp(settings, JobState{}, temp / "missing.jpg"));
  EXPECT_FALSE(fs::exists(temp / "missing.jpg"));
}

}  // namespace
}  // namespace quill
