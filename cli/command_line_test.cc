// Splitting a command-line text, and option names and values of parameters.
#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(CommandLineTest, Splitting) {
  const struct {
    const char* line;
    std::vector<std::string> parameters;
  } cases[] = {
      {"quillpix.exe", {}},
      {"quillpix.exe  -i   a.png ", {"-i", "a.png"}},
      {"\"c:\\program files\\quillpix.exe\" -i \"c:\\my photos\\a.png\"",
       {"-i", "c:\\my photos\\a.png"}},
      {"q --wm-text=\"two words\" -d", {"--wm-text=\"two words\"", "-d"}},
      {"q -i \"unterminated value", {"-i", "unterminated value"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.parameters) << c.line;
}

TEST(CommandLineTest, OptionNamesAndValues) {
  const struct {
    const char* parameter;
    const char* name;
    const char* value;
  } cases[] = {
      {"-i", "-I", "-i"},
      {" --input=Photos/A.png ", "--INPUT", "Photos/A.png"},
      {"--jpg-quality", "--JPG-QUALITY", "--jpg-quality"},
      {"--brightness=-20", "--BRIGHTNESS", "-20"},
      {"--filename-mask=a=b", "--FILENAME-MASK", "a=b"},
      {"-x=1", "-X=1", "-x=1"},
      {"photo.png", "", "photo.png"},
      {"--wm-text=\"two words\"", "--WM-TEXT", "\"two words\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OptionName(c.parameter), c.name) << c.parameter;
    EXPECT_EQ(OptionValue(c.parameter), c.value) << c.parameter;
  }
  EXPECT_EQ(RemoveQuotes("\"two words\""), "two words");
}

}  // namespace
}  // namespace quill
