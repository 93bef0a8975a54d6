// The lines of the console's debug report: labels and the settings they show.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace quill {

// One labelled line of the debug report: the label, then the setting's value.
struct ReportLine {
  std::string_view label;
  std::string_view group;
  std::string_view key;
};

// The load options shown for an input format; empty for one without any ("png").
std::span<const ReportLine> InputFormatReport(std::string_view format);
// The options shown for an output format, its depth setting first; empty for an unknown one.
std::span<const ReportLine> OutputFormatReport(std::string_view format);
// Every format that has report lines, input and output, for walking the tables.
std::span<const std::string_view> ReportedInputFormats();
std::span<const std::string_view> ReportedOutputFormats();

std::span<const ReportLine> RotationReport();
std::span<const ReportLine> ResizeReport();
std::span<const ReportLine> FrameReport();
// The text watermark's lines before the offset line and after it.
std::span<const ReportLine> TextWatermarkReport();
std::span<const ReportLine> TextWatermarkTail();
std::span<const ReportLine> ImageWatermarkReport();
std::span<const ReportLine> ImageWatermarkTail();

// A setting's value as the report prints it: a keyword setting by its keyword (nothing for a
// code without one), a float with two decimals, a number in decimal, a text as stored.
std::string ReportValue(const Settings& settings, std::string_view group, std::string_view key);

}  // namespace quill
