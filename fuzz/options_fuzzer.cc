// The console's option loop on arbitrary parameter lists (one parameter a line). Options that
// name an input are left out, so that no run converts or walks the machine's folders; help,
// version, profiles and every settings option are read.
#include <cstdio>

#include "cli/command_line.h"
#include "cli/console_mode.h"
#include "engine/format_registry.h"
#include "fuzz/fuzz_input.h"
#include "i18n/language_table.h"
#include "inputs/input_list.h"
#include "inputs/task_progress.h"
#include "settings/job_state.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  static const LanguageTable language = LoadLanguageTable();
  static const FormatRegistry formats;
  std::vector<std::string> parameters;
  for (std::string& piece :
       fuzz::Pieces(std::string_view(reinterpret_cast<const char*>(data), size), '\n')) {
    const std::string name = OptionName(piece);
    if (name == "-I" || name == "--INPUT") continue;
    parameters.push_back(std::move(piece));
  }
  Settings settings;
  JobState job;
  LanguageTable table = language;
  InputList inputs;
  TaskProgress progress;
  ConsoleContext context{settings, job, table, inputs, progress, formats};
  RunConsoleMode(parameters, context);
  return 0;
}
