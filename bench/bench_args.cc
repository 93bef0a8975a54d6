#include "bench_args.h"

#include <cstdio>
#include <fstream>
#include <string_view>

namespace bench {

bool ParseArguments(int argc, char** argv, Job& job) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "-o" || arg == "-l") && i + 1 < argc) {
      const char* value = argv[++i];
      if (arg == "-o") {
        job.output_folder = value;
        continue;
      }
      std::ifstream list(value);
      if (!list) {
        std::fprintf(stderr, "%s: cannot read list file %s\n", argv[0], value);
        return false;
      }
      for (std::string line; std::getline(list, line);) {
        if (!line.empty()) job.inputs.push_back(line);
      }
    } else if (!arg.empty() && arg.front() == '-') {
      job.inputs.clear();
      break;
    } else {
      job.inputs.emplace_back(arg);
    }
  }
  if (job.output_folder.empty() || job.inputs.empty()) {
    std::fprintf(stderr, "usage: %s -o OUTPUT_FOLDER [-l LIST_FILE]... [FILE.png]...\n", argv[0]);
    return false;
  }
  return true;
}

std::string OutputPath(const Job& job, const std::string& input) {
  return (job.output_folder / std::filesystem::path(input).filename().replace_extension(".jpg"))
      .string();
}

}  // namespace bench
