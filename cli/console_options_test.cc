// The settings options of the command line and profile files, through the option loop.
#include "cli/console_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli/console_mode.h"
#include "engine/format_registry.h"
#include "engine/test_images.h"
#include "i18n/language_table.h"
#include "inputs/input_list.h"
#include "inputs/task_progress.h"
#include "settings/ascii.h"
#include "settings/job_state.h"
#include "settings/settings.h"
#include "settings/vocabulary.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;

// Runs the option loop over `parameters` (none names an input, so nothing is converted) and
// keeps what it printed.
class ConsoleOptionsTest : public ::testing::Test {
 public:
  const std::string& printed() const { return printed_; }
  std::optional<int> Run(const std::vector<std::string>& parameters) {
    ::testing::internal::CaptureStdout();
    const std::optional<int> code = RunConsoleMode(parameters, context_);
    printed_ = ::testing::internal::GetCapturedStdout();
    return code;
  }

 protected:
  Settings settings_;
  JobState job_;
  LanguageTable language_ = LoadLanguageTable();
  InputList inputs_;
  TaskProgress progress_;
  const FormatRegistry formats_;
  ConsoleContext context_{settings_, job_, language_, inputs_, progress_, formats_};
  std::string printed_;
  TempFolder folder_;
};

// A value for an option of the row's form that differs from every default, and what it stores.
struct SampleValue {
  std::string text;     // as given after "=" on the command line
  std::string stored;   // ValueText of the setting afterwards
  std::string profile;  // as given in a profile, when that differs from `text`
};

SampleValue SampleFor(const SettingInfo& row) {
  switch (row.option_form) {
    case OptionForm::kInteger:
      return {"37", "37", ""};
    case OptionForm::kDecimal:
      return {"2.5", "2.500000", ""};
    case OptionForm::kKeyword: {
      // The last keyword whose code is not the default (of either flavour).
      Settings defaults;
      ResetSetting(defaults, row, DefaultsFlavour::kConsole);
      const auto keywords = VocabularyKeywords(row.vocabulary);
      for (auto k = keywords.rbegin(); k != keywords.rend(); ++k) {
        if (k->code != GetNumber(defaults, row) && k->code != row.default_number) {
          return {AsciiLower(k->word), std::to_string(k->code), ""};
        }
      }
      // A vocabulary of one word ("Text Size") can only store the default.
      return {AsciiLower(keywords.back().word), std::to_string(keywords.back().code), ""};
    }
    case OptionForm::kText:
      // A profile keeps the quotes of a text; a shell would have removed them.
      return {"\"some text\"", "some text", "some text"};
    case OptionForm::kFlag:
      return {"0", std::to_string(row.flag_value), ""};
    case OptionForm::kNone:
      break;
  }
  return {};
}

// Every option of the table, on the command line and in a profile, stores its setting and its
// further field the same way.
TEST_F(ConsoleOptionsTest, EveryOptionReachesItsSettingFromBothPlaces) {
  const std::string profile = folder_ / "profile.ini";
  int options = 0;
  for (const SettingInfo& row : SettingsTable()) {
    if (!row.has_option()) continue;
    ++options;
    const SampleValue sample = SampleFor(row);
    const std::string name = std::string(row.option);
    for (const bool from_profile : {false, true}) {
      const std::string where = name + (from_profile ? " in a profile" : " on the command line");
      if (from_profile) {
        const std::string& value = sample.profile.empty() ? sample.text : sample.profile;
        WriteFile(profile, "[CLI]\n" + AsciiUpper(row.profile_name()) + " = " + value + "\n");
        ASSERT_EQ(Run({"--profile=" + profile}), std::nullopt) << where;
      } else {
        ASSERT_EQ(Run({name + "=" + sample.text}), std::nullopt) << where;
      }
      EXPECT_EQ(ValueText(settings_, row), sample.stored) << where;
      if (row.also != nullptr) {
        EXPECT_EQ(settings_.*row.also, row.also_value) << where;
      }
    }
  }
  EXPECT_EQ(options, 102);
}

// The debug report (the lines before the import) of a run with `parameters`.
std::vector<std::string> ReportOf(ConsoleOptionsTest& test, std::vector<std::string> parameters);

// Every option whose setting applies to this edition's conversion shows in the debug report:
// switching it changes the report of a run in which its feature is on.
TEST_F(ConsoleOptionsTest, EveryOptionOfTheConversionShowsInTheDebugReport) {
  const std::string photo = folder_ / "photo.png";
  const std::string logo = folder_ / "logo.png";
  ASSERT_TRUE(testing::SavePng(testing::MakeTestImage(testing::TestKind::kRgb24), photo));
  ASSERT_TRUE(testing::SavePng(testing::MakeTestImage(testing::TestKind::kRgba32), logo));
  folder_.MakeFolder("out");
  // The custom time stamp is fixed: its default is the current time, which would change the
  // report from one run to the next.
  const std::vector<std::string> common = {"-d",
                                           "-i",
                                           photo,
                                           "-o",
                                           folder_ / "out",
                                           "--rotation=10",
                                           "--width=10",
                                           "--height=10",
                                           "--fr-solid-left=1",
                                           "--file-timestamp-custom=1"};
  std::vector<std::string> with_text = common;
  with_text.push_back("--wm-text=mark");
  std::vector<std::string> with_image = common;
  with_image.push_back("--wm-image=" + logo);
  with_image.push_back("--file-timestamp=custom");
  const std::vector<std::string> text_report = ReportOf(*this, with_text);
  const std::vector<std::string> image_report = ReportOf(*this, with_image);
  ASSERT_EQ(text_report.back(), "Keep Subfolders: 1");
  ASSERT_EQ(image_report.back(), "Keep Subfolders: 1");
  ASSERT_EQ(ReportOf(*this, with_text), text_report);  // the same run gives the same report

  for (const SettingInfo& row : SettingsTable()) {
    if (!row.has_option() || !(row.format.empty() || row.format == "jpg")) continue;
    const SampleValue sample = SampleFor(row);
    Settings defaults;
    ResetSetting(defaults, row, DefaultsFlavour::kConsole);
    if (sample.stored == ValueText(defaults, row)) continue;  // nothing else to choose
    const std::string option = std::string(row.option) + "=" + sample.text;
    std::vector<std::string> text_run = with_text;
    text_run.push_back(option);
    std::vector<std::string> image_run = with_image;
    image_run.push_back(option);
    EXPECT_TRUE(ReportOf(*this, text_run) != text_report ||
                ReportOf(*this, image_run) != image_report)
        << row.option;
  }
}

TEST_F(ConsoleOptionsTest, EachValueFormReadsItsOwnWay) {
  const struct {
    std::vector<std::string> parameters;
    const char* group;
    const char* key;
    const char* stored;
  } cases[] = {
      {{"--png-interlaced=0"}, "Output", "PNG Interlaced", "1"},
      {{"--PNG-Interlaced"}, "Output", "PNG Interlaced", "1"},
      {{"--jpg-save-as=progressive"}, "Output", "JPG Save As", "3"},
      {{"--jpg-save-as=progresive"}, "Output", "JPG Save As", "0"},
      {{"--jpg-chroma= high "}, "Output", "JPG Chroma", "3"},
      {{"--jpg-chroma=420"}, "Output", "JPG Chroma", "0"},
      {{"--png-compression=LZW"}, "Output", "PNG Compression", "6"},
      {{"--width=50%"}, "Transform", "Image Width", "50"},
      {{"--width=$40"}, "Transform", "Image Width", "64"},
      {{"--height=%1010"}, "Transform", "Image Height", "10"},
      {{"--brightness=-20"}, "Adjustment", "Image Brightness", "-20"},
      {{"--gamma=1,5"}, "Adjustment", "Image Gamma", "1.000000"},
      {{"--gamma=abc"}, "Adjustment", "Image Gamma", "0.000000"},
      {{"--gamma=-INFINITY"}, "Adjustment", "Image Gamma", "-Infinity"},
      {{"--gamma=2.2"}, "Adjustment", "Image Gamma", "2.200000"},
      {{"--wm-text=\"quoted text with blanks\""}, "Watermark", "Text", "quoted text with blanks"},
      {{"--wm-text=\"split", "by", "the shell\""}, "Watermark", "Text", "split by the shell"},
      {{"--wm-font-style=bold"}, "Watermark", "Font Style", "1"},
      {{"--wm-font-effect=STRIKETHROUGHT"}, "Watermark", "Font Effect", "2"},
      {{"--no-subfolders=1"}, "Advanced", "Keep Subfolders", "0"},
      {{"--file-timestamp-custom=1600000000"}, "Advanced", "Custom Timestamp", "1600000000"},
      {{"--wm-image-rotation=45"}, "Watermark", "Image Rotation", "45"},
      {{"--rotation=90"}, "Transform", "Do Image Rotation", "1"},
      {{"--wm-image=logo.png"}, "Watermark", "Do Watermark", "2"},
      {{"--fr-solid-left=5"}, "Frame", "Do Frame", "1"},
      {{"--invert"}, "Adjustment", "Do Image Color Correction", "1"},
      {{"--threshold=128"}, "Adjustment", "Do Image Threshold", "1"},
      // A later option overrides an earlier one; unknown options are skipped.
      {{"--jpg-quality=80", "--no-such-option=1", "--jpg-quality=70"},
       "Output",
       "JPG Quality",
       "70"},
      // The solid opacity keeps its command-line name; the profile name is not an option here.
      {{"--wm-solid-opacity=5"}, "Frame", "Solid Opacity", "255"},
      {{"--fr-solid-opacity=5"}, "Frame", "Solid Opacity", "5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.parameters), std::nullopt) << c.parameters[0];
    EXPECT_EQ(ValueText(settings_, *FindSetting(c.group, c.key)), c.stored) << c.parameters[0];
  }
}

TEST_F(ConsoleOptionsTest, AValuedOptionWithoutAUsableValueStopsTheLoop) {
  const struct {
    std::vector<std::string> parameters;
    const char* error;
  } cases[] = {
      {{"--jpg-quality="}, "Incorrect number of parameters"},
      {{"--jpg-quality"}, "Incorrect number of parameters"},
      {{"--jpg-quality=--5"}, "Incorrect number of parameters"},
      {{"--wm-text=  "}, "Incorrect number of parameters"},
      {{"--profile="}, "Incorrect number of parameters"},
      {{"--profile=missing.ini"}, "Invalid profile file"},
      {{"--profile", "-i", "photos"}, "Incorrect number of parameters"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.parameters), kExitError) << c.parameters[0];
    EXPECT_EQ(printed_, std::string("Error: ") + c.error + "\n") << c.parameters[0];
  }
  // Nothing after the refused option is read.
  Run({"--jpg-quality=", "--jpg-bpp=8"});
  EXPECT_EQ(settings_.jpg_bpp, 0);
}

TEST_F(ConsoleOptionsTest, AProfileAppliesAtItsPlaceWithItsOwnRules) {
  const std::string profile = folder_ / "profile.ini";
  WriteFile(profile,
            "--jpg-quality = 50\n"
            "[Other]\n--jpg-bpp = 8\n"
            "[cli]\n"
            "--JPG-QUALITY = 60\n"
            "--Jpg-Quality = 61\n"        // the first occurrence counts
            "--FR-SOLID-OPACITY = 100\n"  // not recognised in a profile
            "--WM-SOLID-OPACITY = 90\n"
            "--no-subfolders = 1\n"
            "--png-interlaced = 0\n"  // flags set whatever their value
            "--filename-mask = \"  %filename% copy.%ext% \"\n"
            "--wm-text =   padded   \n"
            "--wm-font-style = italic \n"
            "--jpg-chroma = medium\n"
            "--width = $20\n"
            "--gamma = 2.5\n"
            "--rotation =\n"  // empty: 0, and the further field still set
            "-i = elsewhere\n--input = elsewhere\n-o = out\n-d\n--profile = profile.ini\n"
            "jpg-quality = 1\n");  // without "--" no option
  EXPECT_EQ(
      Run({"--jpg-quality=5", "--fr-solid-opacity=7", "--profile=" + profile, "--jpg-chroma=high"}),
      std::nullopt);
  EXPECT_EQ(printed_, "");
  EXPECT_EQ(settings_.jpg_quality, 60);
  EXPECT_EQ(settings_.jpg_bpp, 0);
  EXPECT_EQ(settings_.solid_opacity, 90);
  EXPECT_EQ(settings_.keep_subfolders, 0);
  EXPECT_EQ(settings_.png_interlaced, 1);
  EXPECT_EQ(settings_.filename_mask, "  %filename% copy.%ext% ");
  EXPECT_EQ(settings_.text, "padded");
  EXPECT_EQ(settings_.do_watermark, 1);
  EXPECT_EQ(settings_.font_style, 2);
  EXPECT_EQ(settings_.image_width, 32);
  EXPECT_FLOAT_EQ(settings_.image_gamma, 2.5f);
  EXPECT_EQ(settings_.transform_image_rotation, 0);
  EXPECT_EQ(settings_.do_image_rotation, 1);
  EXPECT_EQ(settings_.jpg_chroma, 3);  // the option after the profile wins
  EXPECT_TRUE(job_.input_base_folder.empty());
  EXPECT_TRUE(job_.output_folder.empty());
  EXPECT_TRUE(job_.run_mode.empty());

  // Several profiles apply one after the other; one without "CLI" changes nothing.
  const std::string second = folder_ / "second profile.ini";
  WriteFile(second, "[CLI]\n--jpg-quality=70\n");
  const std::string empty = folder_ / "empty.ini";
  WriteFile(empty, "[General]\n--jpg-quality=1\n");
  EXPECT_EQ(Run({"--profile=" + profile, "--profile=\"" + folder_.path() + "/second",
                 "profile.ini\"", "--profile=" + empty}),
            std::nullopt);
  EXPECT_EQ(settings_.jpg_quality, 70);
}

std::vector<std::string> ReportOf(ConsoleOptionsTest& test, std::vector<std::string> parameters) {
  test.Run(parameters);
  std::vector<std::string> lines;
  size_t at = 0;
  const std::string& printed = test.printed();
  while (at < printed.size()) {
    const size_t end = std::min(printed.find('\n', at), printed.size());
    const std::string line = printed.substr(at, end - at);
    if (line == "Importing...") break;
    lines.push_back(line);
    at = end + 1;
  }
  return lines;
}

}  // namespace
}  // namespace quill
