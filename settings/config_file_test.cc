// The configuration file: the exact written form, the accepted reading superset, load defaults,
// the migrations and the replacing save.
#include "settings/config_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "platform/dates.h"
#include "settings/settings.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

using ::quill::testing::ReadFile;
using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;

// Desktop defaults with the two dates fixed, as a first start would save them.
Settings DesktopDefaults() {
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kDesktop);
  settings.update_date = 1700000000;
  settings.custom_timestamp = 1600000000;
  return settings;
}

// Every persisted value as the file spells it, row by row, so that two records compare.
std::vector<std::string> Values(const Settings& settings) {
  std::vector<std::string> values;
  for (const SettingInfo& row : SettingsTable()) {
    values.push_back(std::string(row.group) + "/" + std::string(row.key) + "=" +
                     ValueText(settings, row));
  }
  return values;
}

// The file that the desktop defaults give, written out line by line.
constexpr char kDefaultFile[] =
    "\xEF\xBB\xBF\r\n"
    "[General]\r\nCFG = 17\r\nLanguage = en\r\nUpdate Range = 2\r\nUpdate Date = 1700000000\r\n"
    "Save Window Position = 1\r\n; \r\n"
    "[Window]\r\nIsMaximized = 0\r\nWidth = 510\r\nHeight = 330\r\nX = 257\r\nY = 219\r\n; \r\n"
    "[Interface]\r\nUI Theme = handdrawn\r\nUI Size = 2\r\n; \r\n"
    "[Input]\r\nFormat = png\r\n; \r\n"
    "[Output]\r\nFormat = jpg\r\nJPG BPP = 0\r\nJPG Quality = 95\r\nJPG Chroma = 0\r\n"
    "JPG Save As = 0\r\n; \r\n"
    "[Transform]\r\nDo Image Rotation = 0\r\nImage Rotation Type = 0\r\nImage Rotation = 0\r\n"
    "Image Rotation Back Color = 000000\r\nDo Image Resize = 0\r\nImage Width = 0\r\n"
    "Image Width Unit = 0\r\nImage Height = 0\r\nImage Height Unit = 0\r\n"
    "Keep Aspect Ratio = 1\r\nImage Resize Type = 0\r\nImage Resize Algorithm = 3\r\n"
    "Do Image Flip Horizontal = 0\r\nDo Image Flip Vertical = 0\r\n; \r\n"
    "[Adjustment]\r\nDo Image Color Correction = 0\r\nImage Brightness = 0\r\n"
    "Image Contrast = 0\r\nImage Gamma = 1.000000\r\nImage Invert = 0\r\n"
    "Do Image Greyscale = 0\r\nDo Image Threshold = 0\r\nImage Threshold = 0\r\n; \r\n"
    "[Frame]\r\nDo Frame = 0\r\nSolid Left = 0\r\nSolid Right = 0\r\nSolid Top = 0\r\n"
    "Solid Bottom = 0\r\nSolid Left Color = 000000\r\nSolid Right Color = 000000\r\n"
    "Solid Top Color = 000000\r\nSolid Bottom Color = 000000\r\nSolid Opacity = 255\r\n; \r\n"
    "[Watermark]\r\nDo Watermark = 0\r\nText = Converted with Quillmere\r\n"
    "Fonts = Arial,Tahoma,Verdana\r\nFont = Arial\r\nFont Size = 14\r\nFont Leading = 0\r\n"
    "Font Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF\r\n"
    "Font Color = FFFFFF\r\nFont Style = 0\r\nFont Effect = 0\r\nText Antialiasing = 0\r\n"
    "Text Alignment = 0\r\nText Padding = 0\r\nText Opacity = 255\r\n"
    "Back Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF\r\n"
    "Back Color = 000000\r\nBack Opacity = 1\r\nText Boundary = 0\r\nText Position = 8\r\n"
    "Text X Offset = 10\r\nText Y Offset = 10\r\nText Rotation = 0\r\nText Size = 0\r\n"
    "Text Scale = 10\r\nImage = \r\nImage Greyscale = 0\r\nImage Opacity = 255\r\n"
    "Image Boundary = 0\r\nImage Position = 8\r\nImage X Offset = 10\r\nImage Y Offset = 10\r\n"
    "Image Rotation = 0\r\nImage Size = 0\r\nImage Scale = 10\r\n; \r\n"
    "[Advanced]\r\nFilename Mask = %filename%.%ext%\r\nFile Timestamp = 0\r\n"
    "Custom Timestamp = 1600000000\r\nOut Folders History = 1\r\nOut Folders Number = 5\r\n"
    "Keep Subfolders = 1\r\n; \r\n"
    "[File]\r\nRecent Out Folders = \r\nRecent Files = \r\n; \r\n"
    "[Privacy]\r\nClean Recent Files = 0\r\n; \r\n";

TEST(ConfigFileTest, WritesTheExactLayout) {
  Settings settings = DesktopDefaults();
  EXPECT_EQ(WriteConfiguration(settings), kDefaultFile);

  // Without the window position the group stays, empty; "CFG" is this layout whatever the
  // record holds; values of the formats that are not enabled are not written.
  settings.save_window_position = 0;
  settings.cfg = 3;
  settings.png_bpp = 24;
  settings.raw_load_as = 2;
  const std::string file = WriteConfiguration(settings);
  EXPECT_NE(file.find("Save Window Position = 0\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"),
            std::string::npos);
  EXPECT_NE(file.find("[General]\r\nCFG = 17\r\n"), std::string::npos);
  EXPECT_EQ(file.find("PNG BPP"), std::string::npos);
  EXPECT_EQ(file.find("RAW"), std::string::npos);
}

TEST(ConfigFileTest, WhatIsWrittenReadsBackTheSame) {
  Settings settings = DesktopDefaults();
  settings.image_gamma = 2.5f;
  settings.image_brightness = -40;
  settings.font_style = -3;  // int8 settings keep their sign
  settings.text = "caf\xC3\xA9 %eol% \xE2\x82\xAC";
  settings.recent_out_folders = "/photos/out\t/home/ann/Bilder";
  settings.is_maximized = 1;
  Settings read;
  ReadSettings(ConfigDocument::Parse(WriteConfiguration(settings)), read);
  EXPECT_EQ(Values(read), Values(settings));

  for (const float gamma : {HUGE_VALF, -HUGE_VALF, std::nanf("")}) {
    settings.image_gamma = gamma;
    ReadSettings(ConfigDocument::Parse(WriteConfiguration(settings)), read);
    EXPECT_EQ(ValueText(read, *FindSetting("Adjustment", "Image Gamma")),
              ValueText(settings, *FindSetting("Adjustment", "Image Gamma")));
  }
}

TEST(ConfigFileTest, ALineBreakInsideATextCannotStartAKeyLineOfItsOwn) {
  Settings settings = DesktopDefaults();
  settings.recent_out_folders = "/odd\r\n[General]\nCFG = 1\rfolder";
  Settings read;
  ReadSettings(ConfigDocument::Parse(WriteConfiguration(settings)), read);
  EXPECT_EQ(read.cfg, 17);
  EXPECT_EQ(read.recent_out_folders, "/odd  [General] CFG = 1 folder");
}

TEST(ConfigFileTest, ReaderAcceptsTheWholeSuperset) {
  const std::string text =
      "Width = 999\n"            // above the first group: never read
      "[window\r"                // no "]", lower case, CR alone
      "\t  width=640\r\n"        // leading tabs and blanks, no blanks around "="
      "HEIGHT   \t= \t 480px\n"  // trailing blanks of the key, leading of the value, "px"
      "; Height = 1\n"           // a comment
      "\n\r\n"                   // empty lines
      "height = 2\n"             // a second occurrence: the first counts
      "IsMaximized\n"            // no "=": an empty value
      "[Watermark] trailing text\n"
      "Text =   padded text \t \n"
      "Font = Caf\xE9\n"    // ISO 8859-1 without a byte-order mark
      "Font Style = 300\n"  // int8: the low 8 bits
      "[WINDOW]\nX = 5\n"   // a second occurrence of a group adds nothing
      "[Adjustment]\nimage gamma = nan\n";
  const ConfigDocument document = ConfigDocument::Parse(text);
  EXPECT_TRUE(document.HasGroup("Window"));
  ASSERT_NE(document.Find("WINDOW", "IsMaximized"), nullptr);
  EXPECT_EQ(*document.Find("WINDOW", "IsMaximized"), "");
  EXPECT_EQ(document.Find("Window", "X"), nullptr);
  ASSERT_EQ(document.Entries("window").size(), 3u);
  EXPECT_EQ(document.Entries("window")[1].key, "HEIGHT");

  Settings settings;
  ReadSettings(document, settings);
  EXPECT_EQ(settings.width, 640);
  EXPECT_EQ(settings.height, 480);
  EXPECT_EQ(settings.is_maximized, 0);
  EXPECT_EQ(settings.x, 100);  // missing: the load default
  EXPECT_EQ(settings.text, "padded text");
  EXPECT_EQ(settings.font, "Caf\xC3\xA9");
  EXPECT_EQ(settings.font_style, 44);
  EXPECT_TRUE(std::isnan(settings.image_gamma));

  // With the byte-order mark the bytes are UTF-8 as they stand.
  Settings utf8;
  ReadSettings(ConfigDocument::Parse("\xEF\xBB\xBF[Watermark]\r\nFont = Caf\xC3\xA9\r\n"), utf8);
  EXPECT_EQ(utf8.font, "Caf\xC3\xA9");
}

TEST(ConfigFileTest, HostileFilesReadWithoutHarm) {
  // NUL bytes, invalid UTF-8 after a byte-order mark, a line of several megabytes and ten
  // megabytes in all: the keys around them still read.
  std::string text = "\xEF\xBB\xBF[Output]\nJPG Quality = 77\n[Watermark]\n";
  text += std::string("Text = a\xff\xfe\0b\n", 13);
  text += "Font = " + std::string(3 << 20, 'F') + "\n";
  text += std::string("Font Size = 99999999999999999999\n");
  text.append(10 << 20, '\0');
  text += "\n[Advanced]\nKeep Subfolders = 0\n";
  Settings settings;
  ReadSettings(ConfigDocument::Parse(text), settings);
  EXPECT_EQ(settings.jpg_quality, 77);
  EXPECT_EQ(settings.text, std::string("a\xff\xfe\0b", 5));
  EXPECT_EQ(settings.font.size(), size_t{3} << 20);
  EXPECT_EQ(settings.keep_subfolders, 0);
  // The text comes back out as it went in, the byte-order mark making it UTF-8 either way.
  Settings again;
  ReadSettings(ConfigDocument::Parse(WriteConfiguration(settings)), again);
  EXPECT_EQ(again.text, settings.text);
}

TEST(ConfigFileTest, MissingKeysTakeTheirLoadDefaultsAndOldLayoutsMigrate) {
  TempFolder dir;
  Settings settings;
  settings.configuration_path = dir / "config.ini";

  // No file: the desktop defaults, and no migration ("CFG" is this layout).
  const int32_t before = platform::CurrentDate();
  LoadConfiguration(settings);
  Settings defaults;
  ResetSettings(defaults, DefaultsFlavour::kDesktop);
  defaults.update_date = settings.update_date;
  defaults.custom_timestamp = settings.custom_timestamp;
  EXPECT_EQ(Values(settings), Values(defaults));
  EXPECT_GE(settings.update_date, before);

  // A file without "CFG" is a very old one; both migrations apply.
  WriteFile(settings.configuration_path,
            "[Advanced]\nFilename Mask = %filename%_small\n[Input]\nRAW Load As = 1\n");
  LoadConfiguration(settings);
  EXPECT_EQ(settings.cfg, 0);
  EXPECT_EQ(settings.filename_mask, "%filename%_small.%ext%");
  EXPECT_EQ(settings.raw_load_as, 3);
  EXPECT_EQ(settings.x, 100);
  EXPECT_EQ(settings.y, 100);
  EXPECT_EQ(settings.width, 510);
  EXPECT_EQ(settings.input_format, "png");
  EXPECT_EQ(settings.output_format, "jpg");
  EXPECT_GE(settings.custom_timestamp, before);

  const struct {
    int cfg;
    const char* mask;
    int raw;
    const char* migrated_mask;
    int migrated_raw;
  } cases[] = {
      {10, "%filename%", 2, "%filename%.%ext%", 4},
      {10, "%FILENAME%.%EXT%", 0, "%FILENAME%.%EXT%", 0},
      {13, "%filename%", 1, "%filename%", 3},
      {14, "%filename%", 1, "%filename%", 1},
  };
  for (const auto& c : cases) {
    WriteFile(settings.configuration_path,
              "[General]\nCFG=" + std::to_string(c.cfg) + "\n[Advanced]\nFilename Mask=" + c.mask +
                  "\n[Input]\nRAW Load As=" + std::to_string(c.raw) + "\n");
    LoadConfiguration(settings);
    EXPECT_EQ(settings.cfg, c.cfg);
    EXPECT_EQ(settings.filename_mask, c.migrated_mask) << c.cfg;
    EXPECT_EQ(settings.raw_load_as, c.migrated_raw) << c.cfg;
  }
}

TEST(ConfigFileTest, SaveReplacesTheFileWholeOrSkipsSilently) {
  TempFolder dir;
  Settings settings = DesktopDefaults();
  settings.configuration_path = dir / "config.ini";
  WriteFile(settings.configuration_path, "; a comment that no save keeps\n[Stale]\nkey = 1\n");
  ASSERT_TRUE(SaveConfiguration(settings));
  EXPECT_EQ(ReadFile(settings.configuration_path), kDefaultFile);

  settings.configuration_path = dir / "no such folder/config.ini";
  EXPECT_FALSE(SaveConfiguration(settings));
  settings.configuration_path.clear();
  EXPECT_FALSE(SaveConfiguration(settings));

  // A folder that cannot be written to: skipped, and the old file stays as it was.
  ASSERT_EQ(mkdir((dir / "locked").c_str(), 0777), 0);
  settings.configuration_path = dir / "locked/config.ini";
  WriteFile(settings.configuration_path, "old");
  ASSERT_EQ(chmod((dir / "locked").c_str(), 0555), 0);
  if (geteuid() != 0) {
    EXPECT_FALSE(SaveConfiguration(settings));
    EXPECT_EQ(ReadFile(settings.configuration_path), "old");
  }
  chmod((dir / "locked").c_str(), 0777);
}

}  // namespace
}  // namespace quill
