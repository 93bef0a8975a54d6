// The image pipeline: one input file from loading to the written output file.
#pragma once

#include "engine/format_registry.h"
#include "settings/job_state.h"
#include "settings/settings.h"

namespace quill {

enum class ConvertResult {
  kConverted,      // the output file was written
  kNotLoaded,      // missing, unreadable, or not a PNG stream
  kNoOutputPath,   // the output naming gave no path
  kOutputIsInput,  // the output path names the input file itself, which is never overwritten
  kNotSaved,       // a step or the save failed; nothing was written
};

// Converts the file at `job.current_input_path` with the run fields of `job` (conversion type,
// output library format, output bit depth, automatic depth, save flags, output folder, current
// relative folder, counter, random number). Writes into `job`: the source bit depth, the output
// bit depth (when automatic), the image width and height after the resize step, and the current
// output path (empty until the path is known). Nothing is written to disk unless the result is
// kConverted.
ConvertResult ConvertImageWithResult(const Settings& settings, const FormatRegistry& formats,
                                     JobState& job);

// The same, true when the output file was written.
bool ConvertImage(const Settings& settings, const FormatRegistry& formats, JobState& job);

}  // namespace quill
