// Command line shared by the benchmark's converters: an output folder and the PNG files to
// convert, given as arguments or in list files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct Job {
  std::filesystem::path output_folder;
  std::vector<std::string> inputs;
};

// Reads `-o FOLDER [-l LIST]... [FILE]...`; a list file holds one path a line. Prints the usage
// and returns false when the arguments do not make a job.
bool ParseArguments(int argc, char** argv, Job& job);

// The output path of `input`: its file name with the extension ".jpg", in the output folder.
std::string OutputPath(const Job& job, const std::string& input);

}  // namespace bench
