// Files that claim far more than they hold are refused before anything large is allocated, and
// the debug report says why; the other files of the run convert. Output names that the file
// system refuses fail their files, and no name leads out of the output folder.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/quillpix_test.h"

namespace quill {
namespace {

using HostileFilesTest = QuillpixTest;

// 65 bytes whose header declares 46341 x 46341 pixels (6.4 GB of 24-bit pixels).
const std::string kHugeClaim(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\xb5\x05\x00\x00"
    "\xb5\x05\x08\x02\x00\x00\x00\x5e\x9c\x03\x74\x00\x00\x00\x08\x49\x44\x41\x54\x78\x9c\x03"
    "\x00\x00\x00\x00\x01\x48\x06\x89\xd2\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    65);

TEST_F(HostileFilesTest, AHugeClaimIsRefusedWithItsReason) {
  folder_.MakeFolder("in");
  folder_.MakeFolder("out");
  folder_.MakeFile("in/claims-46341.png", kHugeClaim);
  MakePng("in/fine.png");
  const testing::ProgramResult r =
      Run({"-d", "-i", folder_ / "in", "-o", folder_ / "out", "--threads=2"});
  EXPECT_EQ(r.exit_code, 2) << r.out;
  const std::vector<std::string> lines = testing::Lines(r.out);
  bool refused = false;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == "Not OK" &&
        lines[i + 1].rfind("Refused: the image of 46341 x 46341 pixels", 0) == 0) {
      refused = true;
    }
  }
  EXPECT_TRUE(refused) << r.out;
  EXPECT_EQ(lines.back(), "Files converted: 1 of 2");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "out/claims-46341.jpg"));
  EXPECT_EQ(Identify(folder_ / "out/fine.jpg", "%m"), "JPEG");
}

TEST_F(HostileFilesTest, NamesTheFileSystemRefusesFailTheirFilesAndNoNameLeavesTheFolder) {
  MakePng("in/a.png");
  const struct {
    std::string mask;
    std::string written;  // empty: the file is not converted
  } cases[] = {
      {std::string(300, 'x') + ".%ext%", ""},  // longer than a file name may be
      {".", ""},                               // no name at all
      {"%filename%/../../%filename%.%ext%", "a_.._.._a.jpg"},
      {"../%filename%.%ext%", ".._a.jpg"},
  };
  for (const auto& c : cases) {
    const std::string out = folder_ / "out";
    std::filesystem::remove_all(out);
    folder_.MakeFolder("out");
    const testing::ProgramResult r =
        Run({"-q", "-i", folder_ / "in", "-o", out, "--filename-mask=" + c.mask});
    EXPECT_EQ(r.exit_code, c.written.empty() ? 2 : 0) << c.mask << r.out;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names,
              c.written.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.written})
        << c.mask;
    // Nothing lands beside the output folder either.
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      EXPECT_FALSE(entry.path().extension() == ".jpg") << entry.path();
    }
  }
}

}  // namespace
}  // namespace quill
