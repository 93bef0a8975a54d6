// Console runs as a user starts them: validation errors, the debug report, folder trees, list
// files, relative folders and the PNG test suite, with outputs checked by the system's own
// image tools.
#include <dirent.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/quillpix_test.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::Lines;
using testing::ProgramResult;

constexpr char kSuite[] = "/work/shared/corpus/pngsuite";

using ConsoleRunTest = QuillpixTest;

TEST_F(ConsoleRunTest, ValidationStopsAtTheFirstFailingCheck) {
  folder_.MakeFolder("in");
  folder_.MakeFile("empty.png", "");
  folder_.MakeFile("README", "a file without extension");
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::string in = folder_ / "in";
  const std::vector<Case> cases = {
      {{"-i", folder_ / "missing.png"}, "Error: Invalid input file"},
      {{"-i", folder_ / "empty.png"}, "Error: Invalid input file"},
      {{"-i", "../elsewhere"}, "Error: Incorrect input folder"},
      {{"-i", folder_ / "README"}, "Error: Invalid input folder"},
      {{"-i", folder_ / "no-such-folder"}, "Error: Invalid input folder"},
      {{"-i", in, "-o", "../out"}, "Error: Incorrect output folder"},
      {{"-i", in, "-o", folder_ / "no-such-output"}, "Error: Invalid output folder"},
      {{"-i", in, "-c", "JPG"}, "Error: Invalid conversion type"},
      {{"-i", in, "-c", "png"}, "Error: Invalid conversion type"},
      // The input is checked before the output and the type.
      {{"-i", folder_ / "missing.png", "-o", "../x", "-c", "bmp"}, "Error: Invalid input file"},
  };
  for (const Case& c : cases) {
    for (bool quiet : {false, true}) {
      std::vector<std::string> args = c.args;
      if (quiet) args.push_back("-q");
      const ProgramResult r = Run(args);
      EXPECT_EQ(r.exit_code, 1) << c.args[1];
      const std::vector<std::string> lines = Lines(r.out);
      ASSERT_FALSE(lines.empty()) << c.args[1];
      EXPECT_EQ(lines.back(), c.error) << c.args[1];
      // Quiet runs print the error line and nothing else.
      if (quiet) {
        EXPECT_EQ(lines.size(), 1u) << c.args[1];
      }
    }
  }
  // No check creates the output folder.
  EXPECT_FALSE(fs::exists(folder_ / "no-such-output"));
}

// Our own copy of the list order: h = h * 65599 + c over the path's characters (ASCII here),
// slots 0 to 511, the newest of a slot first.
uint32_t Slot(const std::string& path) {
  uint32_t h = 0;
  for (unsigned char c : path) h = h * 65599u + c;
  return h % 512u;
}

TEST_F(ConsoleRunTest, DebugReportOfAFolderRunLineForLine) {
  const std::string in = folder_.MakeFolder("in") + "/";
  const std::string out = folder_.MakeFolder("out") + "/";
  // Names chosen so that three of them share a slot, which fixes the newest-first rule.
  std::map<uint32_t, std::vector<std::string>> by_slot;
  std::vector<std::string> colliding;
  for (int k = 0; colliding.empty() && k < 100000; ++k) {
    const std::string name = "p" + std::to_string(k) + ".png";
    auto& names = by_slot[Slot(in + name)];
    names.push_back(name);
    if (names.size() == 3) colliding = names;
  }
  ASSERT_EQ(colliding.size(), 3u);
  for (const std::string& name : colliding) MakePng("in/" + name);
  MakePng("in/sub/deep.png", "gradient:red-blue");
  folder_.MakeFile("in/broken.png", "this is no PNG");
  folder_.MakeFile("in/notes.txt", "not an image");

  // The order the system lists the base folder in, which is the order of adding.
  std::vector<std::string> listed;
  DIR* dir = opendir(in.c_str());
  ASSERT_NE(dir, nullptr);
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.ends_with(".png")) listed.push_back(in + name);
    if (name == "sub") listed.push_back(in + "sub/deep.png");
  }
  closedir(dir);
  std::vector<std::pair<uint32_t, size_t>> order;
  for (size_t i = 0; i < listed.size(); ++i) order.push_back({Slot(listed[i]), listed.size() - i});
  std::sort(order.begin(), order.end());

  const ProgramResult r = Run({"-d", "-i", in, "-o", out});
  EXPECT_EQ(r.exit_code, 2) << r.out;
  std::vector<std::string> expected = {
      "Preparing...",
      "Input: " + in,
      "Output: " + out,
      "Conversion: jpg",
      "JPG BPP: 0",
      "JPG Quality: 95",
      "JPG Chroma Subsampling: NONE",
      "JPG Save As: STANDARD",
      "Flip Horizontal: 0",
      "Flip Vertical: 0",
      "Greyscale: 0",
      "Frame: NONE",
      "Watermark: NONE",
      "Filename Mask: %filename%.%ext%",
      "File Timestamp: CURRENT",
      "Keep Subfolders: 1",
      "Importing...",
      "Import complete, new files added: 5",
      "Converting...",
  };
  for (const auto& [slot, reverse_index] : order) {
    const std::string path = listed[listed.size() - reverse_index];
    expected.push_back("Processing: " + path);
    if (path.ends_with("broken.png")) {
      expected.push_back("Saving As: ");
      expected.push_back("Not OK");
    } else {
      const std::string relative = path.substr(in.size());
      expected.push_back("Saving As: " + out + relative.substr(0, relative.size() - 3) + "jpg");
      expected.push_back("OK");
    }
  }
  expected.push_back("Conversion complete");
  expected.push_back("Files converted: 4 of 5");
  EXPECT_EQ(Report(r), expected);
  EXPECT_TRUE(fs::exists(out + "sub/deep.jpg"));
}

TEST_F(ConsoleRunTest, OutcomesAndTheirExitCodes) {
  const std::string in = folder_.MakeFolder("in");
  MakePng("in/a.png");
  MakePng("in/b.png");

  // Every file converted: 0, and -q prints nothing at all.
  const ProgramResult quiet = Run({"-q", "-i", in});
  EXPECT_EQ(quiet.exit_code, 0);
  EXPECT_EQ(quiet.out, "");
  // Only -i: the type is jpg and the outputs go beside the inputs.
  EXPECT_TRUE(fs::exists(in + "/a.jpg"));
  EXPECT_TRUE(fs::exists(in + "/b.jpg"));

  const ProgramResult again = Run({"-i", in});
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_EQ(Report(again),
            (std::vector<std::string>{"Preparing...", "Importing...",
                                      "Import complete, new files added: 2", "Converting...",
                                      "Conversion complete", "Files converted: 2 of 2"}));

  // Nothing found: the two lines, also when quiet, and 2.
  const std::string empty = folder_.MakeFolder("empty");
  folder_.MakeFile("empty/picture.bmp", "BM");
  const std::vector<std::string> nothing = {
      "Conversion stopped", "No input file(s) found. Please, add valid file(s) and try again!"};
  const ProgramResult none = Run({"-q", "-i", empty});
  EXPECT_EQ(none.exit_code, 2);
  EXPECT_EQ(Lines(none.out), nothing);
  // A single input file whose extension is not offered adds nothing.
  const ProgramResult bmp = Run({"-q", "-i", empty + "/picture.bmp"});
  EXPECT_EQ(bmp.exit_code, 2);
  EXPECT_EQ(Lines(bmp.out), nothing);

  // Found but none converted: one line, also when quiet, and 2.
  folder_.MakeFolder("bad");
  folder_.MakeFile("bad/x.png", "no PNG");
  const ProgramResult failed = Run({"-q", "-i", folder_ / "bad"});
  EXPECT_EQ(failed.exit_code, 2);
  EXPECT_EQ(Lines(failed.out), std::vector<std::string>{"Conversion stopped"});
}

TEST_F(ConsoleRunTest, ListFilesAndSingleFiles) {
  const std::string a = MakePng("pics/a.png");
  MakePng("pics/deeper/b.png");
  MakePng("pics/c.png");
  const std::string out = folder_.MakeFolder("out");
  // A list file in any case of its extension, with a folder line and a line naming nothing.
  folder_.MakeFile(
      "my.LST", a + "\r\n" + folder_ / "pics/deeper" + "\r\n" + folder_ / "nothing.png" + "\r\n");
  const ProgramResult list = Run({"-i", folder_ / "my.LST", "-o", out});
  EXPECT_EQ(list.exit_code, 0) << list.out;
  EXPECT_EQ(Report(list).back(), "Files converted: 2 of 2");
  std::set<std::string> written;
  for (const auto& e : fs::directory_iterator(out)) written.insert(e.path().filename());
  EXPECT_EQ(written, (std::set<std::string>{"a.jpg", "b.jpg"}));

  // A relative input file is taken from the current folder.
  working_folder_ = folder_ / "pics";
  const ProgramResult single = Run({"-q", "-i", "c.png", "-o", out});
  EXPECT_EQ(single.exit_code, 0) << single.out;
  EXPECT_TRUE(fs::exists(out + "/c.jpg"));
}

TEST_F(ConsoleRunTest, RelativeFoldersAreTakenFromTheProgramsFolder) {
  // A copy of the program in a folder of its own, started from somewhere else.
  const std::string bin = folder_.MakeFolder("bin");
  fs::copy_file(QUILLPIX_BINARY, bin + "/quillpix");
  MakePng("bin/photos/a.png");
  folder_.MakeFolder("bin/converted");
  working_folder_ = folder_.MakeFolder("elsewhere");
  MakePng("elsewhere/here.png");

  const ProgramResult r = Run({"-q", "-i", "./photos", "-o", "converted"}, bin + "/quillpix");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_TRUE(fs::exists(bin + "/converted/a.jpg"));

  // An input file without any folder and no -o: the output goes to the program's folder.
  const ProgramResult file = Run({"-q", "-i", "here.png"}, bin + "/quillpix");
  EXPECT_EQ(file.exit_code, 0) << file.out;
  EXPECT_TRUE(fs::exists(bin + "/here.jpg"));
}

TEST_F(ConsoleRunTest, ThePngSuiteConvertsExceptItsCorruptFiles) {
  const std::string in = folder_.MakeFolder("suite");
  const std::string out = folder_.MakeFolder("out");
  std::set<std::string> valid, corrupt;
  for (const auto& entry : fs::directory_iterator(kSuite)) {
    const std::string name = entry.path().filename();
    if (!name.ends_with(".png")) continue;
    fs::copy_file(entry.path(), in + "/" + name);
    (name[0] == 'x' ? corrupt : valid).insert(name.substr(0, name.size() - 4));
  }
  ASSERT_GT(valid.size(), 100u);
  ASSERT_GT(corrupt.size(), 5u);

  const ProgramResult r = Run({"-i", in, "-o", out});
  EXPECT_EQ(r.exit_code, 2);  // the corrupt files are not converted
  EXPECT_EQ(Report(r).back(), "Files converted: " + std::to_string(valid.size()) + " of " +
                                  std::to_string(valid.size() + corrupt.size()));

  // Every valid file gave a JPEG of its own size, baseline, quality 95, 4:4:4 or grey.
  std::map<std::string, std::string> sizes;
  for (const std::string& line :
       Lines(testing::RunProgram({"identify", "-format", "%t %w %h\n", in + "/*.png"}).out)) {
    sizes[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
  }
  std::set<std::string> written;
  for (const std::string& line :
       Lines(testing::RunProgram({"identify", "-format",
                                  "%t %w %h %Q %[jpeg:sampling-factor] %[interlace]\n",
                                  out + "/*.jpg"})
                 .out)) {
    const std::string name = line.substr(0, line.find(' '));
    written.insert(name);
    const std::string rest = line.substr(line.find(' ') + 1);
    EXPECT_EQ(rest.rfind(sizes[name] + " 95 ", 0), 0u) << line;
    EXPECT_TRUE(rest.ends_with(" 1x1,1x1,1x1 None") || rest.ends_with(" 1x1 None")) << line;
  }
  EXPECT_EQ(written, valid);
}

TEST_F(ConsoleRunTest, TheBundledSamplesConvert) {
  const std::string out = folder_.MakeFolder("out");
  const ProgramResult r =
      Run({"-q", "-i", std::string(QUILL_SOURCE_DIR) + "/samples/photos", "-o", out});
  EXPECT_EQ(r.exit_code, 0) << r.out;
  size_t count = 0;
  for (const auto& e : fs::recursive_directory_iterator(out)) count += e.is_regular_file();
  EXPECT_EQ(count, 7u);
  // Transparent corners come out white; grey stays one channel.
  EXPECT_EQ(Identify(out + "/badge-transparent.jpg", "%[pixel:p{1,1}]"), "srgb(255,255,255)");
  EXPECT_EQ(Identify(out + "/grey-ramp.jpg", "%[colorspace]"), "Gray");
  EXPECT_TRUE(fs::exists(out + "/2019/may/half-clear-16bit.jpg"));
}

}  // namespace
}  // namespace quill
