// Process start: takes the single-instance lock, then runs the console mode, which either does
// the whole job or hands over to the desktop mode.
#include "app/startup.h"

#include <cstdlib>

#include "cli/console_mode.h"
#include "engine/format_registry.h"
#include "i18n/language_table.h"
#include "inputs/input_list.h"
#include "inputs/task_progress.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "settings/job_state.h"
#include "settings/product.h"
#include "settings/settings.h"
#include "ui/desktop.h"

namespace quill {

std::string DataFolder(const std::string& maker, const std::string& program) {
  std::string folder = platform::ApplicationDataFolder();
  if (folder.empty() || folder.back() != platform::kPathSeparator) {
    folder += platform::kPathSeparator;
  }
  const std::string maker_folder = folder + maker + platform::kPathSeparator;
  if (!platform::FolderExists(maker_folder)) platform::CreateFolder(maker_folder);
  const std::string program_folder = maker_folder + program + platform::kPathSeparator;
  if (!platform::FolderExists(program_folder)) platform::CreateFolder(program_folder);
  return program_folder;
}

int RunProgram(const std::vector<std::string>& parameters) {
  // Two copies of one version exclude each other; the system releases the lock at the end.
  platform::InstanceLock lock = platform::InstanceLock::Acquire(ProgramTitle());
  // Only a copy that really holds the lock stops this one; when the lock file cannot be made
  // at all (no usable runtime folder), the program runs unguarded rather than not at all.
  if (!lock.held() && lock.busy()) {
    platform::PrintErrorLine(ProgramTitle() + " is already running");
    return 1;
  }
  // A test hook: with a seed the random numbers of the output names repeat from run to run.
  if (const char* seed = std::getenv("QUILLPIX_RANDOM_SEED")) {
    SeedRandomNumbers(static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)));
  }
  Settings settings;
  JobState job;
  LanguageTable language = LoadLanguageTable();
  InputList inputs;
  TaskProgress progress;
  const FormatRegistry formats;
  ConsoleContext context{settings, job, language, inputs, progress, formats};
  if (std::optional<int> exit_code = RunConsoleMode(parameters, context)) return *exit_code;
  return RunDesktopMode();
}

}  // namespace quill
