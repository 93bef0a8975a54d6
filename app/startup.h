// Process start: the single-instance lock, the data folder and the choice of console or desktop.
#pragma once

#include <string>
#include <vector>

namespace quill {

// Runs the program with the command-line parameters that follow the program name and returns
// the process exit code.
int RunProgram(const std::vector<std::string>& parameters);

// The per-user data folder <application data>/<maker>/<program>/, ending with the separator.
// Creates the two levels when they are missing; a failure shows later, when a file in it is used.
std::string DataFolder(const std::string& maker, const std::string& program);

}  // namespace quill
