// The console entry as a user meets it: help, version, parameter errors, the single-instance
// lock and the hand-over to the desktop mode, all through the built binary.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/quillpix_test.h"

namespace quill {
namespace {

using testing::Lines;
using testing::ProgramResult;

using ConsoleTest = QuillpixTest;

TEST_F(ConsoleTest, VersionPrintsOneLine) {
  for (const char* option : {"-v", "-V", "--version", "--VERSION"}) {
    const ProgramResult r = Run({option});
    EXPECT_EQ(r.exit_code, 0) << option;
    EXPECT_EQ(r.out, "2.8\n") << option;
    EXPECT_EQ(r.err, "") << option;
  }
}

TEST_F(ConsoleTest, HelpMatchesTheDocumentedTextLineForLine) {
  const std::vector<std::string> expected = {
      " ",
      "Usage: quillpix -i <filename> [options]",
      " ",
      "  quillpix -i example.png",
      "  quillpix -i c:\\tmp\\example.png",
      "  quillpix -i c:\\tmp\\example.png -o d:\\converted",
      "  quillpix -i c:\\tmp\\filelist.txt",
      "  quillpix -i c:\\tmp\\ -o d:\\converted --jpg-quality=95",
      "  quillpix -i c:\\tmp\\ -o d:\\converted -c jpg --jpg-quality=95",
      " ",
      "Options:",
      " ",
      "  -h, -?, --help            Display this help and exit",
      "  -i FILE, --input=FILE     Set input file/list/folder",
      "  -o PATH, --output=PATH    Set output folder",
      "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
      " ",
      "Advanced options:",
      " ",
      "  --width=NUM               Set output image width",
      "  --height=NUM              Set output image height",
      "  --filename-mask=STR       Define output filename format",
      "  --flip-horizontal         Flip output image horizontally",
      "  --flip-vertical           Flip output image vertically",
      "  --brightness=NUM          Set output image brightness, NUM = -100..100",
      "  --contrast=NUM            Set output image contrast, NUM = -100..100",
      "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
      "  --invert                  Invert output image",
      "  --greyscale               Greyscale output image",
      "  --profile=FILE            Set configuration file with required settings",
      "    ...                     Refer documentation for all available options",
      " ",
      "Other options:",
      " ",
      "  -q, --quiet               Don't print status messages to stdout",
      "  -d, --debug               Print debug information to stdout",
      "  -p, --pause               Pause at exit",
      "  -v, --version             Display version information and exit",
  };
  for (const char* option : {"-h", "-?", "--help", "--HELP"}) {
    const ProgramResult r = Run({option, "-i", "a.png"});
    EXPECT_EQ(r.exit_code, 0) << option;
    EXPECT_EQ(Lines(r.out), expected) << option;
  }
}

TEST_F(ConsoleTest, MissingValuesEndWithTheParameterError) {
  const std::vector<std::vector<std::string>> cases = {
      {"-i"}, {"-i", "-o", "out"},         {"--input"},  {"--input="}, {"-o"},
      {"-c"}, {"-i", "a.png", "-c", "-d"}, {"-q", "-i"},
  };
  for (const auto& args : cases) {
    const ProgramResult r = Run(args);
    EXPECT_EQ(r.exit_code, 1) << args[0];
    // The error line is printed even with -q, and nothing else is.
    EXPECT_EQ(r.out, "Error: Incorrect number of parameters\n") << args[0];
  }
}

TEST_F(ConsoleTest, InputStartsARunWithTheHeader) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"-i", "a.png"},
                                               {"--INPUT=a.png"},
                                               {"-I", "\"a", "b.png\""},
                                               {"--help-me", "-i", "a.png", "--help"}}) {
    const ProgramResult r = Run(args);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GE(lines.size(), 4u) << args[0];
    EXPECT_EQ(lines[0], "Quillmere 2.8");
    EXPECT_NE(lines[1].find("(c)"), std::string::npos);
    EXPECT_EQ(lines[3], " ");
  }
  // -q leaves the header out.
  const ProgramResult quiet = Run({"-q", "-i", "a.png"});
  EXPECT_EQ(quiet.out.find("Quillmere 2.8"), std::string::npos);
}

TEST_F(ConsoleTest, NoInputHandsOverToTheDesktop) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"picture.png"}, {"-o", "somewhere"}, {"--jpg-quality=5"}}) {
    const ProgramResult r = Run(args);
    // This build has no desktop: it says so on standard error and fails.
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("desktop"), std::string::npos);
  }
}

TEST_F(ConsoleTest, SecondCopyEndsAtOnceWhileTheLockIsHeld) {
  // Hold the lock the way a running copy does: an exclusive flock on the lock file.
  const std::string lock_path = folder_ / "Quillmere 2.8.lock";
  const int fd = open(lock_path.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  const ProgramResult held = Run({"-v"});
  EXPECT_EQ(held.exit_code, 1);
  EXPECT_EQ(held.out, "");
  EXPECT_NE(held.err.find("already running"), std::string::npos);
  close(fd);
  EXPECT_EQ(Run({"-v"}).out, "2.8\n");
}

}  // namespace
}  // namespace quill
