// The debug report's tables.
#include "cli/console_report.h"

#include <array>
#include <cstdio>

#include "settings/vocabulary.h"

namespace quill {
namespace {

// The load options the report shows for an input format.
struct InputReport {
  std::string_view format;
  std::array<ReportLine, 5> lines;
};

constexpr InputReport kInputReports[] = {
    {"dds", {{{"DDS Load As: ", "Input", "DDS Load As"}}}},
    {"gif", {{{"GIF Frame Loading: ", "Input", "GIF Frame Loading"}}}},
    {"ico", {{{"ICO Frame Loading: ", "Input", "ICO Frame Loading"}}}},
    {"raw",
     {{{"RAW Load As: ", "Input", "RAW Load As"},
       {"RAW Header Size: ", "Input", "RAW Header Size"},
       {"RAW Image Width: ", "Input", "RAW Image Width"},
       {"RAW Image Height: ", "Input", "RAW Image Height"},
       {"RAW Tone Mapping: ", "Input", "RAW Tone Mapping"}}}},
    {"tiff", {{{"TIFF Frame Loading: ", "Input", "TIFF Frame Loading"}}}},
};

// The options the report shows for an output format; the first is always its depth setting.
struct OutputReport {
  std::string_view format;
  std::array<ReportLine, 4> lines;
};

constexpr OutputReport kOutputReports[] = {
    {"bmp",
     {{{"BMP BPP: ", "Output", "BMP BPP"},
       {"BMP Compression: ", "Output", "BMP Compression"},
       {"BMP Color Table: ", "Output", "BMP Color Table"}}}},
    {"dds", {{{"DDS BPP: ", "Output", "DDS BPP"}}}},
    {"exr",
     {{{"EXR BPP: ", "Output", "EXR BPP"}, {"EXR Compression: ", "Output", "EXR Compression"}}}},
    {"gif", {{{"GIF BPP: ", "Output", "GIF BPP"}}}},
    {"hdr", {{{"HDR BPP: ", "Output", "HDR BPP"}}}},
    {"ico", {{{"ICO BPP: ", "Output", "ICO BPP"}}}},
    {"j2k", {{{"J2K BPP: ", "Output", "J2K BPP"}}}},
    {"jng", {{{"JNG BPP: ", "Output", "JNG BPP"}}}},
    {"jp2", {{{"JP2 BPP: ", "Output", "JP2 BPP"}}}},
    {"jpg",
     {{{"JPG BPP: ", "Output", "JPG BPP"},
       {"JPG Quality: ", "Output", "JPG Quality"},
       {"JPG Chroma Subsampling: ", "Output", "JPG Chroma"},
       {"JPG Save As: ", "Output", "JPG Save As"}}}},
    {"jxr", {{{"JXR BPP: ", "Output", "JXR BPP"}}}},
    {"pbm", {{{"PBM BPP: ", "Output", "PBM BPP"}}}},
    {"pcx", {{{"PCX BPP: ", "Output", "PCX BPP"}}}},
    {"pfm", {{{"PFM BPP: ", "Output", "PFM BPP"}}}},
    {"pgm", {{{"PGM BPP: ", "Output", "PGM BPP"}}}},
    {"png",
     {{{"PNG BPP: ", "Output", "PNG BPP"},
       {"PNG Compression: ", "Output", "PNG Compression"},
       {"PNG Interlaced: ", "Output", "PNG Interlaced"}}}},
    {"ppm", {{{"PPM BPP: ", "Output", "PPM BPP"}}}},
    {"psd", {{{"PSD BPP: ", "Output", "PSD BPP"}}}},
    {"tga",
     {{{"TGA BPP: ", "Output", "TGA BPP"}, {"TGA Compression: ", "Output", "TGA Compression"}}}},
    {"tiff",
     {{{"TIFF BPP: ", "Output", "TIFF BPP"},
       {"TIFF Compression: ", "Output", "TIFF Compression"},
       {"TIFF Color Model: ", "Output", "TIFF Color Model"}}}},
    {"wbmp", {{{"WBMP BPP: ", "Output", "WBMP BPP"}}}},
    {"webp", {{{"WEBP BPP: ", "Output", "WEBP BPP"}}}},
    {"xpm", {{{"XPM BPP: ", "Output", "XPM BPP"}}}},
};

constexpr ReportLine kRotationReport[] = {
    {"Image Rotation Type: ", "Transform", "Image Rotation Type"},
    {"Image Rotation: ", "Transform", "Image Rotation"},
    {"Image Rotation Back Color: ", "Transform", "Image Rotation Back Color"},
};

constexpr ReportLine kResizeReport[] = {
    {"Keep Aspect Ratio: ", "Transform", "Keep Aspect Ratio"},
    {"Image Resize Type: ", "Transform", "Image Resize Type"},
    {"Image Resize Algorithm: ", "Transform", "Image Resize Algorithm"},
};

constexpr ReportLine kFrameReport[] = {
    {"Frame left: ", "Frame", "Solid Left"},
    {"Frame right: ", "Frame", "Solid Right"},
    {"Frame top: ", "Frame", "Solid Top"},
    {"Frame bottom: ", "Frame", "Solid Bottom"},
    {"Frame left color: ", "Frame", "Solid Left Color"},
    {"Frame right color: ", "Frame", "Solid Right Color"},
    {"Frame top color: ", "Frame", "Solid Top Color"},
    {"Frame bottom color: ", "Frame", "Solid Bottom Color"},
    {"Frame opacity: ", "Frame", "Solid Opacity"},
};

constexpr ReportLine kTextWatermarkReport[] = {
    {"Watermark text: ", "Watermark", "Text"},
    {"Watermark font: ", "Watermark", "Font"},
    {"Watermark font size: ", "Watermark", "Font Size"},
    {"Watermark font leading: ", "Watermark", "Font Leading"},
    {"Watermark font color: ", "Watermark", "Font Color"},
    {"Watermark font style: ", "Watermark", "Font Style"},
    {"Watermark font effect: ", "Watermark", "Font Effect"},
    {"Watermark text antialiasing: ", "Watermark", "Text Antialiasing"},
    {"Watermark text alignment: ", "Watermark", "Text Alignment"},
    {"Watermark text padding: ", "Watermark", "Text Padding"},
    {"Watermark text opacity: ", "Watermark", "Text Opacity"},
    {"Watermark background color: ", "Watermark", "Back Color"},
    {"Watermark background opacity: ", "Watermark", "Back Opacity"},
    {"Watermark boundary: ", "Watermark", "Text Boundary"},
    {"Watermark position: ", "Watermark", "Text Position"},
};

constexpr ReportLine kTextWatermarkTail[] = {
    {"Watermark rotation: ", "Watermark", "Text Rotation"},
    {"Watermark size/mode: ", "Watermark", "Text Size"},
};

constexpr ReportLine kImageWatermarkReport[] = {
    {"Watermark image: ", "Watermark", "Image"},
    {"Watermark greyscale: ", "Watermark", "Image Greyscale"},
    {"Watermark opacity: ", "Watermark", "Image Opacity"},
    {"Watermark boundary: ", "Watermark", "Image Boundary"},
    {"Watermark position: ", "Watermark", "Image Position"},
};

constexpr ReportLine kImageWatermarkTail[] = {
    {"Watermark rotation: ", "Watermark", "Image Rotation"},
    {"Watermark size/mode: ", "Watermark", "Image Size"},
};

// The non-empty lines of a fixed-size row.
template <size_t N>
std::span<const ReportLine> Used(const std::array<ReportLine, N>& lines) {
  size_t count = 0;
  while (count < N && !lines[count].label.empty()) ++count;
  return std::span<const ReportLine>(lines.data(), count);
}

constexpr std::string_view kInputFormats[] = {"dds", "gif", "ico", "raw", "tiff"};
constexpr std::string_view kOutputFormats[] = {
    "bmp", "dds", "exr", "gif", "hdr", "ico", "j2k", "jng",  "jp2",  "jpg",  "jxr", "pbm",
    "pcx", "pfm", "pgm", "png", "ppm", "psd", "tga", "tiff", "wbmp", "webp", "xpm"};

}  // namespace

std::span<const ReportLine> InputFormatReport(std::string_view format) {
  for (const InputReport& report : kInputReports) {
    if (report.format == format) return Used(report.lines);
  }
  return {};
}

std::span<const ReportLine> OutputFormatReport(std::string_view format) {
  for (const OutputReport& report : kOutputReports) {
    if (report.format == format) return Used(report.lines);
  }
  return {};
}

std::span<const std::string_view> ReportedInputFormats() { return kInputFormats; }
std::span<const std::string_view> ReportedOutputFormats() { return kOutputFormats; }
std::span<const ReportLine> RotationReport() { return kRotationReport; }
std::span<const ReportLine> ResizeReport() { return kResizeReport; }
std::span<const ReportLine> FrameReport() { return kFrameReport; }
std::span<const ReportLine> TextWatermarkReport() { return kTextWatermarkReport; }
std::span<const ReportLine> TextWatermarkTail() { return kTextWatermarkTail; }
std::span<const ReportLine> ImageWatermarkReport() { return kImageWatermarkReport; }
std::span<const ReportLine> ImageWatermarkTail() { return kImageWatermarkTail; }

// A setting's value as the report prints it: a keyword setting by its keyword (nothing for a
// code without one), a float with two decimals, a number in decimal, a text as stored.
std::string ReportValue(const Settings& settings, std::string_view group, std::string_view key) {
  const SettingInfo* row = FindSetting(group, key);
  if (row == nullptr) return {};
  if (row->vocabulary >= 0) {
    return CodeToKeyword(row->vocabulary, static_cast<int32_t>(GetNumber(settings, *row)),
                         row->format);
  }
  switch (row->type()) {
    case SettingType::kText:
      return GetText(settings, *row);
    case SettingType::kFloat: {
      char text[64];
      std::snprintf(text, sizeof text, "%.2f", GetDecimal(settings, *row));
      return text;
    }
    default:
      return std::to_string(GetNumber(settings, *row));
  }
}

}  // namespace quill
