// The image pipeline: one input file from loading to the written output file.
#pragma once

#include <cstdint>
#include <string>

#include "engine/drawing_cache.h"
#include "engine/format_registry.h"
#include "engine/save_image.h"
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

// A file converted into memory: everything of the conversion but the output name and the write,
// which depend on the run's order (the counter and the random number of the name).
struct PreparedImage {
  // kConverted when `encoded` holds the output file; kNotLoaded when the file did not load;
  // kNotSaved when a step or the encoding failed (the output is still named, then refused).
  ConvertResult result = ConvertResult::kNotLoaded;
  EncodedFile encoded;
  std::string refusal;  // why the limits refused the file, when they did
  int32_t source_bit_depth = 0;
  int32_t output_bit_depth = 0;  // the automatic depth when that was on, else the job's
  int32_t image_width = 0;       // after the resize step
  int32_t image_height = 0;
};

// Loads, processes and encodes the file at `job.current_input_path` with the run fields of
// `job`, touching no file. Safe to run for several files at once on several threads, which may
// share one run's `drawings`.
PreparedImage PrepareImage(const Settings& settings, const FormatRegistry& formats, JobState job,
                           DrawingCache* drawings = nullptr);

// Takes a prepared file into `job` (source and output depth, image size), names its output and
// writes it. Nothing is written unless the result is kConverted.
ConvertResult CommitImage(const Settings& settings, JobState& job, const PreparedImage& prepared);

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
