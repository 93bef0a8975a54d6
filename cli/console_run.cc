// The console run: completes and checks the job the options describe, prints the debug report,
// collects the input files, converts them and prints the result.
#include "cli/console_run.h"

#include <optional>
#include <span>
#include <string_view>

#include "cli/console_report.h"
#include "cli/help_text.h"
#include "engine/conversion_worker.h"
#include "engine/format_registry.h"
#include "engine/save_flags.h"
#include "engine/watermark_font.h"
#include "i18n/language_table.h"
#include "inputs/add_input_file.h"
#include "inputs/input_list.h"
#include "inputs/input_tasks.h"
#include "inputs/task_progress.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/ascii.h"
#include "settings/job_state.h"
#include "settings/product.h"
#include "settings/settings.h"

namespace quill {
namespace {

// The number of files the import added, as text.
std::string Count(int32_t count) { return std::to_string(count); }

class ConsoleRun {
 public:
  ConsoleRun(ConsoleContext& context, bool quiet)
      : context_(context),
        settings_(context.settings),
        job_(context.job),
        quiet_(quiet),
        debug_(context.job.run_mode == "DEBUG") {}

  int Run() {
    Status("General", "Preparing");
    if (!CheckInput() || !CheckOutputFolder() || !CheckConversionType()) return kExitError;
    ReportInputFormat();
    if (!CheckOutputFormat() || !CheckImageSteps() || !CheckWatermark()) return kExitError;
    ReportNaming();
    FillOutputFormat();

    Status("General", "Importing");
    const int32_t total = Import();
    Status("Msg", "Import complete", Count(total));
    if (total == 0) {
      Print(Text("Msg", "Conversion is not complete"));
      Print(Text("Msg", "Empty input files"));
      return kExitIncomplete;
    }

    Status("General", "Converting");
    ConversionRun run{settings_, context_.formats, context_.inputs, job_, context_.progress, {}};
    const int32_t converted = RunConversion(run);
    if (converted == 0) {
      Print(Text("Msg", "Conversion is not complete"));
      return kExitIncomplete;
    }
    Status("Msg", "Conversion complete");
    Status("Msg", "Files converted", Count(converted), Count(total));
    return converted == total ? kExitSuccess : kExitIncomplete;
  }

 private:
  std::string Text(std::string_view group, std::string_view key, std::string_view s1 = {},
                   std::string_view s2 = {}) const {
    return FillPlaceholders(LookupText(context_.language, group, key), s1, s2);
  }
  static void Print(const std::string& line) { platform::PrintLine(line); }
  void Status(std::string_view group, std::string_view key, std::string_view s1 = {},
              std::string_view s2 = {}) const {
    if (!quiet_) Print(Text(group, key, s1, s2));
  }
  void Debug(std::string_view label, const std::string& value) const {
    if (debug_) Print(std::string(label) + value);
  }
  void Debug(const ReportLine& line) const {
    Debug(line.label, ReportValue(settings_, line.group, line.key));
  }
  void Debug(std::span<const ReportLine> lines) const {
    for (const ReportLine& line : lines) Debug(line);
  }
  static bool Fail(std::string_view message) {
    Print(std::string(kErrorPrefix) + std::string(message));
    return false;
  }

  // A folder given on the command line, made absolute against the program's folder (not the
  // current one) and ending in the separator.
  std::string AbsoluteFolder(std::string folder) const {
    if (platform::IsRelativePath(folder)) {
      if (folder.rfind("./", 0) == 0) folder.erase(0, 2);
      folder = job_.program_folder + folder;
    }
    if (folder.empty() || folder.back() != platform::kPathSeparator) {
      folder += platform::kPathSeparator;
    }
    return folder;
  }

  // The -i text names a file when it has an extension, else a folder.
  bool CheckInput() {
    const std::string input = job_.input_base_folder;
    Debug("Input: ", input);
    if (!PathExtension(input).empty()) {
      input_is_file_ = true;
      job_.current_input_path = input;
      job_.input_base_folder.clear();
      if (!platform::FileExists(input)) return Fail("Invalid input file");
      return true;
    }
    if (input.rfind("..", 0) == 0) return Fail("Incorrect input folder");
    job_.input_base_folder = AbsoluteFolder(input);
    if (!platform::FolderExists(job_.input_base_folder)) return Fail("Invalid input folder");
    return true;
  }

  bool CheckOutputFolder() {
    std::string& folder = job_.output_folder;
    if (folder.empty()) {
      if (input_is_file_) {
        const size_t slash = job_.current_input_path.find_last_of("/\\");
        folder = slash == std::string::npos ? std::string()
                                            : job_.current_input_path.substr(0, slash + 1);
      } else {
        folder = job_.input_base_folder;
      }
    }
    Debug("Output: ", folder);
    if (folder.rfind("..", 0) == 0) return Fail("Incorrect output folder");
    folder = AbsoluteFolder(folder);
    if (!platform::FolderExists(folder)) return Fail("Invalid output folder");
    return true;
  }

  bool CheckConversionType() {
    const std::vector<std::string>& outputs = EnabledOutputFormats();
    if (job_.conversion_type.empty()) job_.conversion_type = outputs.front();
    Debug("Conversion: ", job_.conversion_type);
    bool enabled = false;
    for (const std::string& format : outputs) enabled = enabled || format == job_.conversion_type;
    if (!enabled) return Fail("Invalid conversion type");
    job_.job_input_format = EnabledInputFormats().front();
    return true;
  }

  void ReportInputFormat() const { Debug(InputFormatReport(job_.job_input_format)); }

  bool CheckOutputFormat() {
    const std::span<const ReportLine> lines = OutputFormatReport(job_.conversion_type);
    Debug(lines);
    const int64_t depth = DepthSetting();
    if (!lines.empty() && depth != 0) {
      bool allowed = false;
      for (int d : context_.formats.AllowedDepths(job_.conversion_type)) {
        allowed = allowed || d == depth;
      }
      if (!allowed) return Fail("Invalid " + job_.conversion_type + "-bpp value");
    }
    if (job_.conversion_type == "jpg" &&
        (settings_.jpg_quality < 1 || settings_.jpg_quality > 100)) {
      return Fail("Invalid jpg-quality value");
    }
    return true;
  }

  bool CheckImageSteps() {
    const Settings& s = settings_;
    if (s.do_image_rotation != 0) Debug(RotationReport());
    if (s.do_image_resize != 0) {
      Debug("Width: ",
            std::to_string(s.image_width) + " " + ReportValue(s, "Transform", "Image Width Unit"));
      if (s.image_width == 0) return Fail("Invalid width value");
      Debug("Height: ", std::to_string(s.image_height) + " " +
                            ReportValue(s, "Transform", "Image Height Unit"));
      if (s.image_height == 0) return Fail("Invalid height value");
      Debug(ResizeReport());
    }
    Debug("Flip Horizontal: ", std::to_string(s.do_image_flip_horizontal));
    Debug("Flip Vertical: ", std::to_string(s.do_image_flip_vertical));
    if (s.do_image_color_correction != 0) {
      Debug("Brightness: ", std::to_string(s.image_brightness));
      if (s.image_brightness < -100 || s.image_brightness > 100) {
        return Fail("Invalid brightness value");
      }
      Debug("Contrast: ", std::to_string(s.image_contrast));
      if (s.image_contrast < -100 || s.image_contrast > 100) return Fail("Invalid contrast value");
      Debug("Gamma: ", ReportValue(s, "Adjustment", "Image Gamma"));
      // NaN passes neither bound, so it is refused with the out-of-range values.
      if (!(s.image_gamma >= 0.01f && s.image_gamma <= 9.99f)) {
        return Fail("Invalid gamma value");
      }
      Debug("Invert: ", std::to_string(s.image_invert));
    }
    Debug("Greyscale: ", std::to_string(s.do_image_greyscale));
    if (s.do_image_threshold != 0) Debug("Image Threshold: ", std::to_string(s.image_threshold));
    Debug("Frame: ", ReportValue(s, "Frame", "Do Frame"));
    if (s.do_frame == 1) Debug(FrameReport());
    return true;
  }

  bool CheckWatermark() {
    const Settings& s = settings_;
    Debug("Watermark: ", ReportValue(s, "Watermark", "Do Watermark"));
    if (s.do_watermark == 1) {
      Debug(TextWatermarkReport());
      Debug("Watermark offset (x/y): ",
            std::to_string(s.text_x_offset) + "/" + std::to_string(s.text_y_offset));
      Debug(TextWatermarkTail());
      // The font of the run, made once here and kept until the run ends.
      font_.emplace(s);
      if (!font_->loaded()) return Fail("Invalid watermark font");
    } else if (s.do_watermark == 2) {
      Debug(ImageWatermarkReport());
      Debug("Watermark offset (x/y): ",
            std::to_string(s.image_x_offset) + "/" + std::to_string(s.image_y_offset));
      Debug(ImageWatermarkTail());
      if (!platform::FileExists(s.image)) return Fail("Invalid watermark image");
    }
    return true;
  }

  void ReportNaming() const {
    const Settings& s = settings_;
    Debug("Filename Mask: ", s.filename_mask);
    Debug("File Timestamp: ", ReportValue(s, "Advanced", "File Timestamp"));
    if (s.file_timestamp == 2) Debug("Custom Timestamp: ", std::to_string(s.custom_timestamp));
    Debug("Keep Subfolders: ", std::to_string(s.keep_subfolders));
  }

  // The value of the output format's depth setting ("JPG BPP"), 0 for a format without one.
  int64_t DepthSetting() const {
    const std::span<const ReportLine> lines = OutputFormatReport(job_.conversion_type);
    if (lines.empty()) return 0;
    const SettingInfo* row = FindSetting(lines.front().group, lines.front().key);
    return row == nullptr ? 0 : GetNumber(settings_, *row);
  }

  void FillOutputFormat() {
    const OutputFormat* format = context_.formats.FindOutput(job_.conversion_type);
    job_.output_library_format = format == nullptr ? -1 : format->library_format;
    job_.output_bit_depth = static_cast<int32_t>(DepthSetting());
    job_.output_save_flags = SaveFlags(job_.conversion_type, settings_);
    job_.automatic_depth = job_.output_bit_depth == 0 ? 1 : 0;
  }

  // Fills the input list and returns the number of files added.
  int32_t Import() {
    TaskProgress& progress = context_.progress;
    InputList& inputs = context_.inputs;
    progress.ResetResult();
    if (!input_is_file_) {
      RunTask(progress, [&] { InputFolderScan(inputs, job_, progress); });
      return progress.result();
    }
    const std::string extension = AsciiLower(PathExtension(job_.current_input_path));
    if (extension == "txt" || extension == "lst") {
      RunTask(progress, [&] { InputListRead(inputs, job_, progress); });
      return progress.result();
    }
    return AddInputFile(inputs, job_, job_.current_input_path) ? 1 : 0;
  }

  ConsoleContext& context_;
  Settings& settings_;
  JobState& job_;
  const bool quiet_;
  const bool debug_;
  std::optional<ScopedWatermarkFont> font_;
  bool input_is_file_ = false;
};

}  // namespace

int RunConsoleJob(ConsoleContext& context, bool quiet) { return ConsoleRun(context, quiet).Run(); }

}  // namespace quill
