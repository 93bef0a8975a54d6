// The console's help text and header.
#include "cli/help_text.h"

#include <string_view>

#include "i18n/language_table.h"
#include "settings/product.h"

namespace quill {
namespace {

// The help as printed; %s1% is the program name, %s2% an example extension.
constexpr std::string_view kHelp[] = {
    " ",
    "Usage: %s1% -i <filename> [options]",
    " ",
    "  %s1% -i example.%s2%",
    "  %s1% -i c:\\tmp\\example.%s2%",
    "  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted",
    "  %s1% -i c:\\tmp\\filelist.txt",
    "  %s1% -i c:\\tmp\\ -o d:\\converted --jpg-quality=95",
    "  %s1% -i c:\\tmp\\ -o d:\\converted -c %s2% --jpg-quality=95",
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

// Lines 4 to 6 take a fresh random input extension each; line 9 the first output format.
constexpr int kRandomInputLines[] = {3, 4, 5};
constexpr int kOutputFormatLine = 8;

}  // namespace

std::vector<std::string> HelpLines(const std::string& program, int (*pick)(int count)) {
  std::vector<std::string> lines;
  const auto& inputs = EnabledInputFormats();
  for (int i = 0; i < static_cast<int>(std::size(kHelp)); ++i) {
    std::string example;
    for (int random_line : kRandomInputLines) {
      if (i == random_line) example = inputs[pick(static_cast<int>(inputs.size()))];
    }
    if (i == kOutputFormatLine) example = EnabledOutputFormats().front();
    lines.push_back(FillPlaceholders(kHelp[i], program, example, "", ""));
  }
  return lines;
}

std::vector<std::string> HeaderLines() {
  std::string notice = "Copyright \u00a9 2026 Brackwater. All rights reserved.";
  const std::string copyright_sign = "\u00a9";
  for (size_t at; (at = notice.find(copyright_sign)) != std::string::npos;) {
    notice.replace(at, copyright_sign.size(), "(c)");
  }
  return {ProgramTitle(), notice, "https://www.brackwater.example/quillmere/", " "};
}

}  // namespace quill
