// The fixture of the end-to-end tests: runs the built quillpix in a private temporary folder,
// with its own lock folder, data folder and no display.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
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

  // A real PNG made by ImageMagick, in the temporary folder.
  std::string MakePng(const std::string& name, const std::string& spec = "xc:#3366cc",
                      const std::string& size = "32x24") {
    const std::string path = folder_ / name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const testing::ProgramResult r = testing::RunProgram({"convert", "-size", size, spec, path});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return path;
  }

  // The lines after the header (four lines) of a run that was not quiet.
  static std::vector<std::string> Report(const testing::ProgramResult& r) {
    std::vector<std::string> lines = testing::Lines(r.out);
    if (lines.size() >= 4 && lines[0] == "Quillmere 2.8") {
      lines.erase(lines.begin(), lines.begin() + 4);
    }
    return lines;
  }

  // What `identify -format` says about a file.
  static std::string Identify(const std::string& path, const std::string& format) {
    return testing::RunProgram({"identify", "-format", format, path}).out;
  }

  testing::TempFolder folder_;
  std::string working_folder_;
};

}  // namespace quill
