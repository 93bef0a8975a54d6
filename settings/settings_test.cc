// The settings table, the two default flavours, the vocabularies and the job state reset.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/job_state.h"
#include "settings/vocabulary.h"

namespace quill {
namespace {

TEST(SettingsTest, TableKeysAreUniqueAndGroupsInRecordOrder) {
  const std::vector<std::string_view> groups = {"General",    "Window",    "Interface", "Input",
                                                "Output",     "Transform", "Adjustment", "Frame",
                                                "Watermark", "Advanced",  "File",       "Privacy"};
  std::set<std::pair<std::string_view, std::string_view>> seen;
  size_t group = 0;
  for (const SettingInfo& row : SettingsTable()) {
    while (group < groups.size() && groups[group] != row.group) ++group;
    ASSERT_LT(group, groups.size()) << row.group << " " << row.key << " out of order";
    EXPECT_TRUE(seen.insert({row.group, row.key}).second) << row.key;
  }
  EXPECT_EQ(SettingsTable().size(), 132u);
}

TEST(SettingsTest, FlavoursDifferOnlyInKeepAspectRatio) {
  Settings desktop, console;
  ResetSettings(desktop, DefaultsFlavour::kDesktop);
  ResetSettings(console, DefaultsFlavour::kConsole);
  console.update_date = desktop.update_date;
  console.custom_timestamp = desktop.custom_timestamp;
  for (const SettingInfo& row : SettingsTable()) {
    if (row.key == "Keep Aspect Ratio") {
      EXPECT_EQ(GetInteger(desktop, row), 1);
      EXPECT_EQ(GetInteger(console, row), 0);
    } else {
      EXPECT_EQ(GetInteger(desktop, row), GetInteger(console, row)) << row.key;
      EXPECT_EQ(GetText(desktop, row), GetText(console, row)) << row.key;
    }
  }
}

TEST(SettingsTest, DefaultsOfTypicalRows) {
  Settings s;
  ResetSettings(s, DefaultsFlavour::kDesktop);
  EXPECT_EQ(s.cfg, 17);
  EXPECT_EQ(s.jpg_quality, 95);
  EXPECT_EQ(s.image_resize_algorithm, 3);
  EXPECT_FLOAT_EQ(s.image_gamma, 1.0f);
  EXPECT_EQ(s.input_format, "png");
  EXPECT_EQ(s.output_format, "jpg");
  EXPECT_EQ(s.filename_mask, "%filename%.%ext%");
  EXPECT_EQ(s.font_colors, "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF");
  EXPECT_EQ(s.text_position, 8);
  EXPECT_EQ(s.back_opacity, 1);
  EXPECT_EQ(s.keep_subfolders, 1);
  EXPECT_EQ(s.out_folders_number, 5);
  EXPECT_EQ(s.width, 510);
  EXPECT_EQ(s.height, 330);
}

TEST(SettingsTest, WindowPositionFromTheScreen) {
  EXPECT_EQ(DefaultWindowX({1920, 1080}), 705);
  EXPECT_EQ(DefaultWindowY({1920, 1080}), 375);
  EXPECT_EQ(DefaultWindowX({500, 300}), 100);
  EXPECT_EQ(DefaultWindowY({500, 300}), 100);
  Settings s;
  ResetSettings(s, DefaultsFlavour::kDesktop);  // no display: 1024 x 768
  EXPECT_EQ(s.x, 257);
  EXPECT_EQ(s.y, 219);
  SetScreenSizeProvider([] { return ScreenSize{1920, 1080}; });
  ResetSettings(s, DefaultsFlavour::kDesktop);
  SetScreenSizeProvider(nullptr);
  EXPECT_EQ(s.x, 705);
  EXPECT_EQ(s.y, 375);
}

TEST(SettingsTest, Int8KeepsItsLowEightBits) {
  Settings s;
  SetInteger(s, *FindSetting("Transform", "Image Resize Algorithm"), 300);
  EXPECT_EQ(s.image_resize_algorithm, 44);
  SetInteger(s, *FindSetting("Output", "JPG Quality"), 300);
  EXPECT_EQ(s.jpg_quality, 300);
}

TEST(VocabularyTest, KeywordsAndCodes) {
  EXPECT_EQ(KeywordToCode(12, "lanczos"), 5);
  EXPECT_EQ(KeywordToCode(4, "ZLIB9"), 3);
  EXPECT_EQ(KeywordToCode(4, "lzw"), 6);
  EXPECT_EQ(KeywordToCode(16, "STRIKETHROUGH"), 0);
  EXPECT_EQ(KeywordToCode(16, "strikethrought"), 2);
  for (int v = 0; v < kVocabularyCount; ++v) EXPECT_EQ(KeywordToCode(v, "nonsense"), 0) << v;
  EXPECT_EQ(CodeToKeyword(4, 1, "png"), "ZLIB1");
  EXPECT_EQ(CodeToKeyword(4, 1, "TIFF"), "CCITTFAX3");
  EXPECT_EQ(CodeToKeyword(2, 7), "");
  EXPECT_EQ(CodeToKeyword(19, 8), "BOTTOMRIGHT");
}

TEST(JobStateTest, ResetDrawsAFreshNumberAndKeepsTheUnresetFields) {
  JobState job;
  job.output_folder = "/out/";
  job.counter = 7;
  job.run_mode = "DEBUG";
  std::set<int32_t> numbers;
  for (int i = 0; i < 50; ++i) {
    ResetJobState(job);
    EXPECT_GE(job.random_number, 1);
    EXPECT_LE(job.random_number, 99999);
    numbers.insert(job.random_number);
  }
  EXPECT_GT(numbers.size(), 1u);
  EXPECT_EQ(job.output_folder, "");
  EXPECT_EQ(job.counter, 1);
  EXPECT_EQ(job.run_mode, "DEBUG");
  EXPECT_EQ(job.program_folder.back(), '/');
}

}  // namespace
}  // namespace quill
