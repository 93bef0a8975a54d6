// Several files converted at once give exactly what one at a time gives: the same output names,
// bytes and time stamps, and the same standard output, line for line.
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/quillpix_test.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ProgramResult;

class ThreadsTest : public QuillpixTest {
 protected:
  struct Outcome {
    int exit_code = -1;
    std::string out;
    std::map<std::string, std::pair<std::string, int64_t>> files;  // bytes and time stamp
  };

  Outcome Convert(const std::string& threads, const std::vector<std::string>& options) {
    const std::string out = folder_ / ("out" + threads);
    fs::remove_all(out);
    fs::create_directories(out);
    std::vector<std::string> args = {"-d", "-i", folder_ / "list.txt",
                                     "-o", out,  "--threads=" + threads};
    args.insert(args.end(), options.begin(), options.end());
    const ProgramResult r = RunSeeded(args);
    Outcome outcome{r.exit_code, r.out, {}};
    // The output folder's own name differs between the runs; nothing else may.
    for (size_t at = outcome.out.find(out); at != std::string::npos;
         at = outcome.out.find(out, at)) {
      outcome.out.replace(at, out.size(), "<out>");
    }
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      if (!entry.is_regular_file()) continue;
      struct stat st {};
      stat(entry.path().c_str(), &st);
      outcome.files[entry.path().string().substr(out.size())] = {
          testing::ReadFile(entry.path().string()), static_cast<int64_t>(st.st_mtime)};
    }
    return outcome;
  }

  ProgramResult RunSeeded(std::vector<std::string> args) {
    args.insert(args.begin(), QUILLPIX_BINARY);
    testing::RunOptions options;
    options.env["XDG_RUNTIME_DIR"] = folder_.path();
    options.env["XDG_CONFIG_HOME"] = folder_ / "config";
    options.env["QUILLPIX_RANDOM_SEED"] = "42";
    options.env["TZ"] = "UTC0";
    options.working_folder = folder_.path();
    return testing::RunProgram(args, options);
  }
};

TEST_F(ThreadsTest, FourAtOnceGiveWhatOneAtATimeGives) {
  std::string list;
  const char* const looks[] = {"gradient:red-blue", "plasma:", "xc:#336699", "gradient:"};
  for (int i = 0; i < 14; ++i) {
    list += MakePng("photos/p" + std::to_string(i) + ".png", looks[i % 4],
                    i % 3 == 0 ? "120x90" : "64x48") +
            "\n";
    if (i % 5 == 2) {
      folder_.MakeFile("photos/bad" + std::to_string(i) + ".png", "not a picture");
      list += folder_ / ("photos/bad" + std::to_string(i) + ".png") + "\n";
    }
  }
  folder_.MakeFile("list.txt", list);
  const std::vector<std::string> options = {"--filename-mask=%filename%_%n%_%rnd%.%ext%",
                                            "--file-timestamp=custom",
                                            "--file-timestamp-custom=1262347200",
                                            "--fr-solid-left=4",
                                            "--wm-text=%filename% %width%x%height%",
                                            "--width=50",
                                            "--height=50",
                                            "--width-unit=percent",
                                            "--height-unit=percent"};
  const Outcome one = Convert("1", options);
  ASSERT_EQ(one.exit_code, 2) << one.out;  // the broken files are not converted
  ASSERT_EQ(one.files.size(), 14u) << one.out;
  const Outcome four = Convert("4", options);
  EXPECT_EQ(four.exit_code, one.exit_code);
  EXPECT_EQ(four.out, one.out);
  EXPECT_TRUE(four.files == one.files);
  for (const auto& [name, file] : one.files) {
    EXPECT_EQ(file.second, 1262347200) << name;
    ASSERT_TRUE(four.files.count(name)) << name;
  }
}

}  // namespace
}  // namespace quill
