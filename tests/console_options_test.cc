// Settings options and profiles as a user gives them: what the debug report shows and what the
// written files carry.
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/quillpix_test.h"

namespace quill {
namespace {

using testing::Lines;
using testing::ProgramResult;
using ConsoleOptionsRunTest = QuillpixTest;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int64_t ModificationTime(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : -1;
}

TEST_F(ConsoleOptionsRunTest, OptionsAndAProfileReachTheReportAndTheFiles) {
  MakePng("in/first.png", "gradient:red-blue", "64x48");
  MakePng("in/nested/second.png", "plasma:", "64x48");
  folder_.MakeFolder("out");
  folder_.MakeFile("settings.ini",
                   "; the run's settings\r\n[CLI]\r\n--jpg-quality = 40\r\n"
                   "--JPG-SAVE-AS = progressive\r\n--filename-mask = \"%filename% #%n%.%ext%\"\r\n"
                   "--no-subfolders = 1\r\n--file-timestamp = CUSTOM\r\n");
  const ProgramResult r =
      Run({"-d", "-i", folder_ / "in", "-o", folder_ / "out", "--jpg-quality=90",
           "--profile=" + (folder_ / "settings.ini"), "--file-timestamp-custom=1600000000",
           "--brightness=-20", "--gamma=2.5"});
  ASSERT_EQ(r.exit_code, 0) << r.out;
  const std::vector<std::string> report = Report(r);
  for (const char* line :
       {"JPG Quality: 40", "JPG Save As: PROGRESSIVE", "Brightness: -20", "Gamma: 2.50",
        "Filename Mask: %filename% #%n%.%ext%", "File Timestamp: CUSTOM",
        "Custom Timestamp: 1600000000", "Keep Subfolders: 0"}) {
    EXPECT_TRUE(Contains(report, line)) << line << "\n" << r.out;
  }

  // Both files land in the output folder itself, numbered in conversion order.
  std::vector<std::string> names;
  for (const std::string& line : report) {
    if (line.rfind("Saving As: ", 0) == 0) names.push_back(line.substr(11));
  }
  ASSERT_EQ(names.size(), 2u) << r.out;
  EXPECT_EQ(names[0].substr(names[0].size() - 11), " #00001.jpg");
  EXPECT_EQ(names[1].substr(names[1].size() - 11), " #00002.jpg");
  for (const std::string& name : names) {
    EXPECT_EQ(name.rfind(folder_ / "out/", 0), 0u) << name;
    EXPECT_EQ(name.find("nested"), std::string::npos) << name;
    EXPECT_EQ(Identify(name, "%m %Q %[interlace]"), "JPEG 40 JPEG") << name;
    EXPECT_EQ(ModificationTime(name), 1600000000) << name;
  }
}

TEST_F(ConsoleOptionsRunTest, BadOptionValuesEndWithTheirErrorLine) {
  MakePng("in/photo.png");
  const std::string in = folder_ / "in";
  const struct {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"-i", in, "--jpg-quality="}, "Error: Incorrect number of parameters"},
      {{"-i", in, "--width=--5"}, "Error: Incorrect number of parameters"},
      {{"-i", in, "--profile=missing.ini"}, "Error: Invalid profile file"},
      {{"-i", in, "--profile=" + in}, "Error: Invalid profile file"},
      // Read by the rules, then refused by the validation.
      {{"-i", in, "--jpg-quality=$FFF"}, "Error: Invalid jpg-quality value"},
      {{"-i", in, "--brightness=-101"}, "Error: Invalid brightness value"},
      {{"-i", in, "--gamma=abc"}, "Error: Invalid gamma value"},
  };
  for (const auto& c : cases) {
    const ProgramResult r = Run(c.args);
    EXPECT_EQ(r.exit_code, 1) << c.args.back();
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_FALSE(lines.empty()) << c.args.back();
    EXPECT_EQ(lines.back(), c.error) << c.args.back();
  }
}

}  // namespace
}  // namespace quill
