// Runs a program as a child process with captured output, for tests of the built binary.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace quill::testing {

struct ProgramResult {
  int exit_code = -1;  // the exit status, or 128 + signal number when a signal ended it
  std::string out;     // everything written to standard output
  std::string err;     // everything written to standard error
};

struct RunOptions {
  // Variables set (or replaced) in the child's environment; an empty value removes the variable.
  std::map<std::string, std::string> env;
  std::string working_folder;  // empty: the test's own
  std::string input;           // written to the child's standard input, which is then closed
};

ProgramResult RunProgram(const std::vector<std::string>& argv, const RunOptions& options = {});

// Splits output into lines at "\n".
std::vector<std::string> Lines(const std::string& text);

}  // namespace quill::testing
