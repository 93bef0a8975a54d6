// The conversion run: walks the input list in its order and converts each file, reporting
// through TaskProgress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/format_registry.h"
#include "inputs/input_list.h"
#include "inputs/task_progress.h"
#include "settings/job_state.h"
#include "settings/settings.h"

namespace quill {

// Everything one conversion run reads and writes. The front end fills the run fields of `job`
// (output folder, conversion type, output library format, output bit depth, automatic depth,
// output save flags) before the run and leaves `job`, `settings` and `inputs` alone until the
// run has ended.
struct ConversionRun {
  const Settings& settings;
  const FormatRegistry& formats;
  const InputList& inputs;
  JobState& job;
  TaskProgress& progress;
  // Receives the debug lines of a console run in debug mode; the console by default.
  std::function<void(const std::string&)> print_line;
};

// The worker's procedure. Before each entry it checks the running flag (and waits while the
// front end holds the pause gate), so a stop always lets the entry in progress finish. Processed
// and the current path follow the entry in work; after each successful conversion the random
// number and the counter advance and the time stamp rule is applied. At its end the number of
// converted files becomes the progress result.
void ConversionWorker(ConversionRun& run);

// The front end's side for one run: resets the progress record (processed 0, no current path,
// result 0, running set), runs the worker on a thread of its own, waits for its end and returns
// the number of converted files.
int32_t RunConversion(ConversionRun& run);

}  // namespace quill
