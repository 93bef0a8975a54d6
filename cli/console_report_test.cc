// Every line of the debug report names a setting that exists, so no label prints an empty value
// by a misspelt key.
#include "cli/console_report.h"

#include <gtest/gtest.h>

#include <vector>

namespace quill {
namespace {

TEST(ConsoleReportTest, EveryLineNamesASetting) {
  std::vector<std::span<const ReportLine>> sections = {
      RotationReport(),    ResizeReport(),         FrameReport(),       TextWatermarkReport(),
      TextWatermarkTail(), ImageWatermarkReport(), ImageWatermarkTail()};
  for (std::string_view format : ReportedInputFormats()) {
    ASSERT_FALSE(InputFormatReport(format).empty()) << format;
    sections.push_back(InputFormatReport(format));
  }
  for (std::string_view format : ReportedOutputFormats()) {
    const std::span<const ReportLine> lines = OutputFormatReport(format);
    ASSERT_FALSE(lines.empty()) << format;
    EXPECT_TRUE(lines.front().key.ends_with(" BPP")) << format;
    sections.push_back(lines);
  }
  for (const auto& section : sections) {
    for (const ReportLine& line : section) {
      EXPECT_NE(FindSetting(line.group, line.key), nullptr) << line.label;
      EXPECT_TRUE(line.label.ends_with(": ")) << line.label;
    }
  }
  EXPECT_TRUE(InputFormatReport("png").empty());
}

TEST(ConsoleReportTest, ValuesArePrintedByKind) {
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  settings.jpg_save_as = 3;
  settings.image_gamma = 2.345f;
  settings.jpg_chroma = 77;  // a code without keyword prints nothing
  settings.image_rotation_back_color = "FF00AA";
  EXPECT_EQ(ReportValue(settings, "Output", "JPG Save As"), "PROGRESSIVE");
  EXPECT_EQ(ReportValue(settings, "Output", "JPG Chroma"), "");
  EXPECT_EQ(ReportValue(settings, "Adjustment", "Image Gamma"), "2.35");
  EXPECT_EQ(ReportValue(settings, "Transform", "Image Rotation Back Color"), "FF00AA");
  EXPECT_EQ(ReportValue(settings, "Output", "JPG Quality"), "95");
}

}  // namespace
}  // namespace quill
