// The console mode: the option loop over the parameters, help and version, the error path and
// the hand-over to the run.
#include "cli/console_mode.h"

#include <algorithm>
#include <random>
#include <string_view>

#include "cli/command_line.h"
#include "cli/console_options.h"
#include "cli/console_run.h"
#include "cli/help_text.h"
#include "engine/format_registry.h"
#include "i18n/language_table.h"
#include "inputs/input_list.h"
#include "platform/console.h"
#include "platform/paths.h"
#include "settings/job_state.h"
#include "settings/product.h"
#include "settings/settings.h"
#include "settings/value_rules.h"

namespace quill {
namespace {

// The state of one pass over the command line.
struct OptionLoop {
  const std::vector<std::string>& parameters;
  ConsoleContext& context;
  size_t index = 0;
  std::string error;
  bool quiet = false;
  bool pause = false;
};

// Which values an option refuses besides the empty one.
enum class Refuse {
  kAnyDash,     // -i, -o and -c: a value that begins with "-" is the next option
  kDoubleDash,  // every other option: "-20" is a value, "--x" an option
};

// Reads an option's value: from the next parameter for a short form, from behind the "=" of the
// same parameter for a long one. With `join`, a value that opens a double quote takes the
// following parameters until one closes it, as a shell that split a quoted path at its blanks
// would have it. Returns nothing, with the error set, when the value is missing or refused.
std::optional<std::string> ReadValue(OptionLoop& loop, const std::string& name, bool join,
                                     Refuse refuse = Refuse::kAnyDash) {
  if (name.rfind("--", 0) != 0) ++loop.index;
  if (loop.index >= loop.parameters.size()) {
    loop.error = kIncorrectParameters;
    return std::nullopt;
  }
  std::string value = OptionValue(loop.parameters[loop.index]);
  const bool refused =
      refuse == Refuse::kAnyDash ? value.rfind('-', 0) == 0 : value.rfind("--", 0) == 0;
  if (value.empty() || refused) {
    loop.error = kIncorrectParameters;
    return std::nullopt;
  }
  if (join && value.front() == '"' && (value.size() == 1 || value.back() != '"')) {
    while (loop.index + 1 < loop.parameters.size()) {
      ++loop.index;
      value += ' ';
      value += OptionValue(loop.parameters[loop.index]);
      if (value.back() == '"') break;
    }
  }
  if (!join) return value;
  return RemoveQuotes(value);
}

// An option of the settings table: flags take no value, the others one from their parameter.
void ApplySettingOption(OptionLoop& loop, const SettingInfo& row, const std::string& name) {
  if (row.option_form == OptionForm::kFlag) {
    ApplyOptionValue(loop.context.settings, row, {});
    return;
  }
  const bool text = row.option_form == OptionForm::kText;
  if (auto value = ReadValue(loop, name, text, Refuse::kDoubleDash)) {
    ApplyOptionValue(loop.context.settings, row, *value);
  }
}

struct Handler {
  std::string_view short_name;
  std::string_view long_name;
  void (*handle)(OptionLoop& loop, const std::string& name);
};

// The options that steer the console itself.
constexpr Handler kHandlers[] = {
    {"-I", "--INPUT",
     [](OptionLoop& loop, const std::string& name) {
       loop.context.job.console_flag = 1;
       if (auto value = ReadValue(loop, name, true)) loop.context.job.input_base_folder = *value;
     }},
    {"-O", "--OUTPUT",
     [](OptionLoop& loop, const std::string& name) {
       if (auto value = ReadValue(loop, name, true)) loop.context.job.output_folder = *value;
     }},
    {"-C", "--CONVERSION",
     [](OptionLoop& loop, const std::string& name) {
       if (auto value = ReadValue(loop, name, false)) {
         loop.context.job.conversion_type = RemoveQuotes(*value);
       }
     }},
    {"-D", "--DEBUG",
     [](OptionLoop& loop, const std::string&) { loop.context.job.run_mode = "DEBUG"; }},
    {"-Q", "--QUIET", [](OptionLoop& loop, const std::string&) { loop.quiet = true; }},
    {"-P", "--PAUSE", [](OptionLoop& loop, const std::string&) { loop.pause = true; }},
    {"", "--THREADS",
     [](OptionLoop& loop, const std::string& name) {
       // How many files are converted at once; 0 (or no number) is one per processor.
       if (auto value = ReadValue(loop, name, false, Refuse::kDoubleDash)) {
         const int64_t count = ReadNumberRule(*value);
         loop.context.job.worker_count =
             count > 0 ? static_cast<int32_t>(std::min<int64_t>(count, 64)) : 0;
       }
     }},
    {"", "--PROFILE",
     [](OptionLoop& loop, const std::string& name) {
       auto path = ReadValue(loop, name, true, Refuse::kDoubleDash);
       if (path && !ApplyProfile(loop.context.settings, *path)) loop.error = kInvalidProfile;
     }},
};

void RunOptionLoop(OptionLoop& loop) {
  for (loop.index = 0; loop.index < loop.parameters.size() && loop.error.empty(); ++loop.index) {
    const std::string name = OptionName(loop.parameters[loop.index]);
    if (name.empty()) continue;
    const Handler* handler = nullptr;
    for (const Handler& candidate : kHandlers) {
      if (name == candidate.short_name || name == candidate.long_name) handler = &candidate;
    }
    if (handler != nullptr) {
      handler->handle(loop, name);
    } else if (const SettingInfo* row = FindOption(name)) {
      ApplySettingOption(loop, *row, name);
    }
  }
}

// The program file's name without folder and extension.
std::string ProgramName() {
  std::string name = platform::ProgramPath();
  const size_t slash = name.rfind('/');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? std::string(kProgramBaseName) : name;
}

int PickAtRandom(int count) {
  static std::mt19937 generator{std::random_device{}()};
  return std::uniform_int_distribution<int>(0, count - 1)(generator);
}

}  // namespace

std::optional<int> RunConsoleMode(const std::vector<std::string>& parameters,
                                  ConsoleContext& context) {
  if (parameters.empty()) return std::nullopt;
  ResetJobState(context.job);
  context.inputs.Clear();
  context.inputs.SetAcceptedExtensions(context.formats.AcceptedInputExtensions());
  ResetSettings(context.settings, DefaultsFlavour::kConsole);

  const std::string first = OptionName(parameters[0]);
  if (first == "-V" || first == "--VERSION") {
    platform::PrintLine(VersionText(kVersionNumber));
    return kExitSuccess;
  }
  if (first == "-H" || first == "-?" || first == "--HELP") {
    for (const std::string& line : HelpLines(ProgramName(), PickAtRandom)) {
      platform::PrintLine(line);
    }
    return kExitSuccess;
  }

  OptionLoop loop{parameters, context, 0, "", false, false};
  RunOptionLoop(loop);
  if (!loop.error.empty()) {
    platform::PrintLine(std::string(kErrorPrefix) + loop.error);
    if (loop.pause) platform::WaitForKey();
    return kExitError;
  }
  if (!context.job.console_flag) return std::nullopt;

  if (!loop.quiet) {
    for (const std::string& line : HeaderLines()) platform::PrintLine(line);
  }
  const int exit_code = RunConsoleJob(context, loop.quiet);
  if (loop.pause) {
    platform::PrintLine(kPressAnyKey);
    platform::WaitForKey();
  }
  return exit_code;
}

}  // namespace quill
