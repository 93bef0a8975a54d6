// The console mode: reads the command line, answers help and version requests, and runs a
// conversion when an input is named.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quill {

struct Settings;
struct JobState;
class LanguageTable;
class InputList;
class TaskProgress;
class FormatRegistry;

// The records that the console mode works on; the process owns them.
struct ConsoleContext {
  Settings& settings;
  JobState& job;
  LanguageTable& language;
  InputList& inputs;
  TaskProgress& progress;
  const FormatRegistry& formats;
};

// Runs the console mode on the parameters that follow the program name. Returns the process
// exit code when the console mode did the whole job (help, version, an error or a run), or
// nothing when the desktop mode is to start: no parameters at all, or none that names an input.
std::optional<int> RunConsoleMode(const std::vector<std::string>& parameters,
                                  ConsoleContext& context);

// Exit codes of the console mode.
inline constexpr int kExitSuccess = 0;       // help, version, or every file found converted
inline constexpr int kExitError = 1;         // an "Error: " line, or another copy is running
inline constexpr int kExitIncomplete = 2;    // not every file found was converted, or none found

}  // namespace quill
