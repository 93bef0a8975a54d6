// The fixture of the end-to-end tests: runs the built quillpix in a private temporary folder,
// with its own lock folder, data folder and no display.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quill {

class QuillpixTest : public ::testing::Test {
 protected:
  // Runs `binary` (the built program unless given) with `args` in the temporary folder.
  testing::ProgramResult Run(std::vector<std::string> args, const std::string& binary = "") {
    args.insert(args.begin(), binary.empty() ? std::string(QUILLPIX_BINARY) : binary);
    testing::RunOptions options;
    options.env["XDG_RUNTIME_DIR"] = folder_.path();
    options.env["XDG_CONFIG_HOME"] = folder_ / "config";
    options.env["DISPLAY"] = "";
    options.working_folder = working_folder_.empty() ? folder_.path() : working_folder_;
    return testing::RunProgram(args, options);
  }

  testing::TempFolder folder_;
  std::string working_folder_;
};

}  // namespace quill
