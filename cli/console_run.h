// The console run: validation, report, import and conversion of the job the options describe.
#pragma once

#include "cli/console_mode.h"

namespace quill {

// Runs the job and returns the process exit code. Prints status lines unless `quiet`.
int RunConsoleJob(ConsoleContext& context, bool quiet);

}  // namespace quill
