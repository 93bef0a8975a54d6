// Output naming: the filename-mask placeholders, the output path of a file, the mirrored
// subfolders below the output folder and the time stamp given to a written file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/job_state.h"
#include "settings/settings.h"

namespace quill {

// Everything the placeholders of one file are replaced with.
struct PlaceholderValues {
  std::string file_name;  // input file name without folder and last extension
  std::string extension;  // output extension, lower case ("jpg")
  int32_t date = 0;       // local date and time of the date placeholders (program date)
  int32_t bit_depth = 0;  // output bits per pixel
  int32_t width = 0;      // image size after the resize step
  int32_t height = 0;
  int32_t random_number = 0;
  int32_t counter = 0;
};

// The placeholder values of the file in work: its input path, the conversion type, the output
// depth, the image size, the random number and the counter of `job`, and the given date.
PlaceholderValues PlaceholderValuesFor(const JobState& job, int32_t date);
// The same with the current local date and time.
PlaceholderValues PlaceholderValuesFor(const JobState& job);

// The eighteen placeholders ("%filename%" to "%n%") in the order they are replaced.
std::span<const std::string_view> FilenamePlaceholders();

// The text one placeholder stands for (lower-case placeholder as in FilenamePlaceholders());
// empty for a text that is no placeholder.
std::string PlaceholderValue(std::string_view placeholder, const PlaceholderValues& values);

// Replaces every occurrence of `placeholder` in `text`, letters compared without regard to
// ASCII case, by `value`. Replaced text is not searched again, so a value that holds the
// placeholder itself does not loop.
std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                               std::string_view value);

// Replaces every filename placeholder in `text` in the fixed order; a placeholder brought in by
// an earlier value is replaced too when it comes later in the order. The case of the rest of the
// text is kept (the watermark text uses this as it is).
std::string ExpandPlaceholders(std::string_view text, const PlaceholderValues& values);

// The file name made from "Filename Mask": the mask in lower case ("%filename%.%ext%" when
// empty) with its placeholders expanded. A path separator ("/" or "\") or NUL that the mask or
// its values bring in becomes "_", so a name never leads out of its folder. Empty when the name
// would be empty, "." or "..", which name no file.
std::string OutputFileName(const Settings& settings, const PlaceholderValues& values);
std::string OutputFileName(const Settings& settings, const JobState& job, int32_t date);
std::string OutputFileName(const Settings& settings, const JobState& job);

// The output path: the output folder, the current relative folder when "Keep Subfolders" is on,
// then the output file name. Empty (nothing may be written) when the output folder is empty, the
// relative folder is absolute or has a "." or ".." level, or the file name is empty.
std::string OutputPath(const Settings& settings, const JobState& job, int32_t date);
std::string OutputPath(const Settings& settings, const JobState& job);

// Makes sure that the output folder's mirror of the current relative folder exists, creating
// each missing level below the output folder (the output folder itself is not created). True
// when that folder exists afterwards, and always when "Keep Subfolders" is off.
bool PrepareSubfolders(const Settings& settings, const JobState& job);

// Gives the written file `output_path` the time stamp that "File Timestamp" asks for: CURRENT
// leaves it, ORIGINAL copies the last-write time of the current input file, CUSTOM sets "Custom
// Timestamp"; only the last-write time changes. False when a time could not be read or set.
bool ApplyTimestamp(const Settings& settings, const JobState& job, const std::string& output_path);

}  // namespace quill
