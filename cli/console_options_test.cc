// The settings options of the command line and profile files, through the option loop.
#include "cli/console_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli/console_mode.h"
#include "engine/format_registry.h"
#include "i18n/language_table.h"
#include "inputs/input_list.h"
#include "inputs/task_progress.h"
#include "settings/job_state.h"
#include "settings/settings.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;

// Runs the option loop over `parameters` (none names an input, so nothing is converted) and
// keeps what it printed.
class ConsoleOptionsTest : public ::testing::Test {
 protected:
  std::optional<int> Run(const std::vector<std::string>& parameters) {
    ::testing::internal::CaptureStdout();
    const std::optional<int> code = RunConsoleMode(parameters, context_);
    printed_ = ::testing::internal::GetCapturedStdout();
    return code;
  }

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
      {{"--jpg-quality=80", "--no-such-option=1", "--jpg-quality=70"}, "Output", "JPG Quality",
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
            "--Jpg-Quality = 61\n"          // the first occurrence counts
            "--FR-SOLID-OPACITY = 100\n"    // not recognised in a profile
            "--WM-SOLID-OPACITY = 90\n"
            "--no-subfolders = 1\n"
            "--png-interlaced = 0\n"        // flags set whatever their value
            "--filename-mask = \"  %filename% copy.%ext% \"\n"
            "--wm-text =   padded   \n"
            "--wm-font-style = italic \n"
            "--jpg-chroma = medium\n"
            "--width = $20\n"
            "--gamma = 2.5\n"
            "--rotation =\n"                // empty: 0, and the further field still set
            "-i = elsewhere\n--input = elsewhere\n-o = out\n-d\n--profile = profile.ini\n"
            "jpg-quality = 1\n");           // without "--" no option
  EXPECT_EQ(Run({"--jpg-quality=5", "--fr-solid-opacity=7", "--profile=" + profile,
                 "--jpg-chroma=high"}),
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

}  // namespace
}  // namespace quill
