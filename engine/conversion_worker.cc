// The conversion run, one entry after the other in the input list's order.
#include "engine/conversion_worker.h"

#include "engine/convert_image.h"
#include "engine/output_name.h"
#include "platform/console.h"

namespace quill {

void ConversionWorker(ConversionRun& run) {
  JobState& job = run.job;
  const bool debug = job.console_flag != 0 && job.run_mode == "DEBUG";
  auto print = [&run](const std::string& line) {
    if (run.print_line) {
      run.print_line(line);
    } else {
      platform::PrintLine(line);
    }
  };

  int32_t attempted = 0;
  int32_t converted = 0;
  for (const InputItem& item : run.inputs) {
    if (!run.progress.KeepRunning()) break;
    ++attempted;
    job.current_input_path = item.path;
    job.current_relative_folder = item.relative_folder;
    run.progress.SetProgress(attempted, item.path);

    // A subfolder that cannot be made fails the save of this file, which then counts as not
    // converted; the run goes on.
    if (run.settings.keep_subfolders != 0) PrepareSubfolders(run.settings, job);
    if (debug) print("Processing: " + item.path);
    const bool ok = ConvertImage(run.settings, run.formats, job);
    if (debug) {
      print("Saving As: " + job.current_output_path);
      print(ok ? "OK" : "Not OK");
    }
    if (ok) {
      ++converted;
      job.random_number = DrawRandomNumber();
      ++job.counter;
      ApplyTimestamp(run.settings, job, job.current_output_path);
    }
  }
  run.progress.SetResult(converted);
}

int32_t RunConversion(ConversionRun& run) {
  run.progress.ResetResult();
  RunTask(run.progress, [&run] { ConversionWorker(run); });
  return run.progress.result();
}

}  // namespace quill
