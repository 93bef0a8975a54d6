// The settings table against the record's definition, the defaults of both flavours and the
// generic access to members.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/dates.h"
#include "settings/product.h"

namespace quill {
namespace {

// Every persisted setting in record order: group, key, stored type, meaning, vocabulary and
// desktop default ("<now>", "<x>", "<y>", "<first input>", "<first output>" and "<notice>"
// stand for the computed defaults).
struct ExpectedRow {
  const char* group;
  const char* key;
  const char* type;
  const char* kind;
  int vocabulary;
  const char* default_value;
};

const ExpectedRow kExpectedRows[] = {
    {"General", "CFG", "int32", "number", -1, "17"},
    {"General", "Language", "text", "text", -1, "en"},
    {"General", "Update Range", "int32", "number", -1, "2"},
    {"General", "Update Date", "int32", "date", -1, "<now>"},
    {"General", "Save Window Position", "int8", "flag", -1, "1"},
    {"Window", "IsMaximized", "int8", "flag", -1, "0"},
    {"Window", "X", "int32", "number", -1, "<x>"},
    {"Window", "Y", "int32", "number", -1, "<y>"},
    {"Window", "Width", "int32", "number", -1, "510"},
    {"Window", "Height", "int32", "number", -1, "330"},
    {"Interface", "UI Theme", "text", "text", -1, "handdrawn"},
    {"Interface", "UI Size", "int32", "number", -1, "2"},
    {"Input", "Format", "text", "text", -1, "<first input>"},
    {"Input", "DDS Load As", "int32", "keyword", 0, "0"},
    {"Input", "GIF Frame Loading", "int32", "keyword", 2, "0"},
    {"Input", "ICO Frame Loading", "int32", "keyword", 2, "0"},
    {"Input", "TIFF Frame Loading", "int32", "keyword", 2, "0"},
    {"Input", "RAW Load As", "int32", "keyword", 1, "0"},
    {"Input", "RAW Header Size", "int32", "number", -1, "0"},
    {"Input", "RAW Image Width", "int32", "number", -1, "0"},
    {"Input", "RAW Image Height", "int32", "number", -1, "0"},
    {"Input", "RAW Tone Mapping", "int32", "keyword", 3, "2"},
    {"Output", "Format", "text", "text", -1, "<first output>"},
    {"Output", "BMP BPP", "int32", "number", -1, "0"},
    {"Output", "BMP Compression", "int32", "keyword", 4, "0"},
    {"Output", "BMP Color Table", "int32", "keyword", 5, "0"},
    {"Output", "DDS BPP", "int32", "number", -1, "0"},
    {"Output", "EXR BPP", "int32", "number", -1, "0"},
    {"Output", "EXR Compression", "int32", "keyword", 4, "0"},
    {"Output", "GIF BPP", "int32", "number", -1, "0"},
    {"Output", "HDR BPP", "int32", "number", -1, "0"},
    {"Output", "ICO BPP", "int32", "number", -1, "0"},
    {"Output", "J2K BPP", "int32", "number", -1, "0"},
    {"Output", "JNG BPP", "int32", "number", -1, "0"},
    {"Output", "JP2 BPP", "int32", "number", -1, "0"},
    {"Output", "JPG BPP", "int32", "number", -1, "0"},
    {"Output", "JPG Quality", "int32", "number", -1, "95"},
    {"Output", "JPG Chroma", "int32", "keyword", 7, "0"},
    {"Output", "JPG Save As", "int32", "keyword", 8, "0"},
    {"Output", "JXR BPP", "int32", "number", -1, "0"},
    {"Output", "PBM BPP", "int32", "number", -1, "0"},
    {"Output", "PCX BPP", "int32", "number", -1, "0"},
    {"Output", "PFM BPP", "int32", "number", -1, "0"},
    {"Output", "PGM BPP", "int32", "number", -1, "0"},
    {"Output", "PNG BPP", "int32", "number", -1, "0"},
    {"Output", "PNG Compression", "int32", "keyword", 4, "0"},
    {"Output", "PNG Interlaced", "int8", "flag", -1, "0"},
    {"Output", "PPM BPP", "int32", "number", -1, "0"},
    {"Output", "PSD BPP", "int32", "number", -1, "0"},
    {"Output", "TGA BPP", "int32", "number", -1, "0"},
    {"Output", "TGA Compression", "int32", "keyword", 4, "0"},
    {"Output", "TIFF BPP", "int32", "number", -1, "0"},
    {"Output", "TIFF Compression", "int32", "keyword", 4, "0"},
    {"Output", "TIFF Color Model", "int32", "keyword", 6, "0"},
    {"Output", "WBMP BPP", "int32", "number", -1, "0"},
    {"Output", "WEBP BPP", "int32", "number", -1, "0"},
    {"Output", "XPM BPP", "int32", "number", -1, "0"},
    {"Transform", "Do Image Rotation", "int8", "flag", -1, "0"},
    {"Transform", "Image Rotation Type", "int8", "keyword", 9, "0"},
    {"Transform", "Image Rotation", "int32", "number", -1, "0"},
    {"Transform", "Image Rotation Back Color", "text", "colour", -1, "000000"},
    {"Transform", "Do Image Resize", "int8", "flag", -1, "0"},
    {"Transform", "Image Width", "int32", "number", -1, "0"},
    {"Transform", "Image Width Unit", "int8", "keyword", 10, "0"},
    {"Transform", "Image Height", "int32", "number", -1, "0"},
    {"Transform", "Image Height Unit", "int8", "keyword", 10, "0"},
    {"Transform", "Keep Aspect Ratio", "int8", "flag", -1, "1"},
    {"Transform", "Image Resize Type", "int8", "keyword", 11, "0"},
    {"Transform", "Image Resize Algorithm", "int8", "keyword", 12, "3"},
    {"Transform", "Do Image Flip Horizontal", "int8", "flag", -1, "0"},
    {"Transform", "Do Image Flip Vertical", "int8", "flag", -1, "0"},
    {"Adjustment", "Do Image Color Correction", "int8", "flag", -1, "0"},
    {"Adjustment", "Image Brightness", "int32", "number", -1, "0"},
    {"Adjustment", "Image Contrast", "int32", "number", -1, "0"},
    {"Adjustment", "Image Gamma", "float32", "number", -1, "1.0"},
    {"Adjustment", "Image Invert", "int8", "flag", -1, "0"},
    {"Adjustment", "Do Image Greyscale", "int8", "flag", -1, "0"},
    {"Adjustment", "Do Image Threshold", "int8", "flag", -1, "0"},
    {"Adjustment", "Image Threshold", "int32", "number", -1, "0"},
    {"Frame", "Do Frame", "int8", "keyword", 13, "0"},
    {"Frame", "Solid Left", "int32", "number", -1, "0"},
    {"Frame", "Solid Right", "int32", "number", -1, "0"},
    {"Frame", "Solid Top", "int32", "number", -1, "0"},
    {"Frame", "Solid Bottom", "int32", "number", -1, "0"},
    {"Frame", "Solid Left Color", "text", "colour", -1, "000000"},
    {"Frame", "Solid Right Color", "text", "colour", -1, "000000"},
    {"Frame", "Solid Top Color", "text", "colour", -1, "000000"},
    {"Frame", "Solid Bottom Color", "text", "colour", -1, "000000"},
    {"Frame", "Solid Opacity", "int32", "number", -1, "255"},
    {"Watermark", "Do Watermark", "int8", "keyword", 14, "0"},
    {"Watermark", "Text", "text", "text", -1, "<notice>"},
    {"Watermark", "Fonts", "text", "text", -1, "Arial,Tahoma,Verdana"},
    {"Watermark", "Font", "text", "text", -1, "Arial"},
    {"Watermark", "Font Size", "int32", "number", -1, "14"},
    {"Watermark", "Font Leading", "int32", "number", -1, "0"},
    {"Watermark", "Font Colors", "text", "text", -1,
     "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"},
    {"Watermark", "Font Color", "text", "colour", -1, "FFFFFF"},
    {"Watermark", "Font Style", "int8", "keyword", 15, "0"},
    {"Watermark", "Font Effect", "int8", "keyword", 16, "0"},
    {"Watermark", "Text Antialiasing", "int8", "flag", -1, "0"},
    {"Watermark", "Text Alignment", "int8", "keyword", 17, "0"},
    {"Watermark", "Text Padding", "int32", "number", -1, "0"},
    {"Watermark", "Text Opacity", "int32", "number", -1, "255"},
    {"Watermark", "Back Colors", "text", "text", -1,
     "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"},
    {"Watermark", "Back Color", "text", "colour", -1, "000000"},
    {"Watermark", "Back Opacity", "int32", "number", -1, "1"},
    {"Watermark", "Text Boundary", "int8", "keyword", 18, "0"},
    {"Watermark", "Text Position", "int8", "keyword", 19, "8"},
    {"Watermark", "Text X Offset", "int32", "number", -1, "10"},
    {"Watermark", "Text Y Offset", "int32", "number", -1, "10"},
    {"Watermark", "Text Rotation", "int32", "number", -1, "0"},
    {"Watermark", "Text Size", "int8", "keyword", 20, "0"},
    {"Watermark", "Text Scale", "int32", "number", -1, "10"},
    {"Watermark", "Image", "text", "text", -1, ""},
    {"Watermark", "Image Greyscale", "int8", "flag", -1, "0"},
    {"Watermark", "Image Opacity", "int32", "number", -1, "255"},
    {"Watermark", "Image Boundary", "int8", "keyword", 18, "0"},
    {"Watermark", "Image Position", "int8", "keyword", 19, "8"},
    {"Watermark", "Image X Offset", "int32", "number", -1, "10"},
    {"Watermark", "Image Y Offset", "int32", "number", -1, "10"},
    {"Watermark", "Image Rotation", "int32", "number", -1, "0"},
    {"Watermark", "Image Size", "int8", "keyword", 20, "0"},
    {"Watermark", "Image Scale", "int32", "number", -1, "10"},
    {"Advanced", "Filename Mask", "text", "text", -1, "%filename%.%ext%"},
    {"Advanced", "File Timestamp", "int8", "keyword", 21, "0"},
    {"Advanced", "Custom Timestamp", "int32", "date", -1, "<now>"},
    {"Advanced", "Out Folders History", "int8", "flag", -1, "1"},
    {"Advanced", "Out Folders Number", "int8", "number", -1, "5"},
    {"Advanced", "Keep Subfolders", "int8", "flag", -1, "1"},
    {"File", "Recent Out Folders", "text", "text", -1, ""},
    {"File", "Recent Files", "text", "text", -1, ""},
    {"Privacy", "Clean Recent Files", "int8", "flag", -1, "0"},
};

const char* TypeName(SettingType type) {
  switch (type) {
    case SettingType::kInt32:
      return "int32";
    case SettingType::kInt8:
      return "int8";
    case SettingType::kFloat:
      return "float32";
    case SettingType::kText:
      return "text";
  }
  return "?";
}

const char* KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::kNumber:
      return "number";
    case ValueKind::kFlag:
      return "flag";
    case ValueKind::kKeyword:
      return "keyword";
    case ValueKind::kColour:
      return "colour";
    case ValueKind::kDate:
      return "date";
    case ValueKind::kText:
      return "text";
  }
  return "?";
}

// Restores the screen size provider when a test ends, passed or failed.
class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetScreenSizeProvider(nullptr); }
};

TEST_F(SettingsTest, TableHoldsEveryKeyInRecordOrderWithTypeAndDefault) {
  const std::span<const SettingInfo> table = SettingsTable();
  ASSERT_EQ(table.size(), std::size(kExpectedRows));
  const int32_t before = platform::CurrentDate();
  Settings s;
  ResetSettings(s, DefaultsFlavour::kDesktop);
  const int32_t after = platform::CurrentDate();

  for (size_t i = 0; i < table.size(); ++i) {
    const SettingInfo& row = table[i];
    const ExpectedRow& want = kExpectedRows[i];
    SCOPED_TRACE(std::string(want.group) + " / " + want.key);
    EXPECT_EQ(row.group, want.group);
    EXPECT_EQ(row.key, want.key);
    EXPECT_STREQ(TypeName(row.type()), want.type);
    EXPECT_STREQ(KindName(row.kind), want.kind);
    EXPECT_EQ(row.vocabulary, want.vocabulary);

    const std::string def = want.default_value;
    if (def == "<now>") {
      EXPECT_GE(GetNumber(s, row), before);
      EXPECT_LE(GetNumber(s, row), after);
    } else if (def == "<x>") {
      EXPECT_EQ(GetNumber(s, row), (1024 - 510) / 2);
    } else if (def == "<y>") {
      EXPECT_EQ(GetNumber(s, row), (768 - 330) / 2);
    } else if (def == "<first input>") {
      EXPECT_EQ(GetText(s, row), EnabledInputFormats().front());
    } else if (def == "<first output>") {
      EXPECT_EQ(GetText(s, row), EnabledOutputFormats().front());
    } else if (def == "<notice>") {
      // A fixed one-line notice.
      EXPECT_FALSE(GetText(s, row).empty());
      EXPECT_EQ(GetText(s, row).find_first_of("\r\n"), std::string::npos);
    } else if (row.type() == SettingType::kText) {
      EXPECT_EQ(GetText(s, row), def);
    } else if (row.type() == SettingType::kFloat) {
      EXPECT_FLOAT_EQ(static_cast<float>(GetDecimal(s, row)), std::stof(def));
    } else {
      EXPECT_EQ(GetNumber(s, row), std::stoll(def));
    }
  }

  // The group list names the groups in the order the table has them.
  std::vector<std::string_view> groups;
  for (const SettingInfo& row : table) {
    if (groups.empty() || groups.back() != row.group) groups.push_back(row.group);
  }
  EXPECT_EQ(groups, std::vector<std::string_view>(SettingGroups().begin(), SettingGroups().end()));
}

// The member name that the naming rule of settings.h gives a key.
std::string MemberNameOf(std::string_view key) {
  std::string name;
  for (size_t i = 0; i < key.size(); ++i) {
    const char c = key[i];
    if (c == ' ') {
      name += '_';
    } else if (c >= 'A' && c <= 'Z') {
      if (i > 0 && key[i - 1] >= 'a' && key[i - 1] <= 'z') name += '_';
      name += static_cast<char>(c - 'A' + 'a');
    } else {
      name += c;
    }
  }
  return name;
}

TEST_F(SettingsTest, MembersAreNamedAfterTheirKeys) {
  std::map<std::string_view, int> groups_of_key;
  for (const SettingInfo& row : SettingsTable()) ++groups_of_key[row.key];
  std::set<std::string_view> names;
  for (const SettingInfo& row : SettingsTable()) {
    std::string expected = MemberNameOf(row.key);
    if (groups_of_key[row.key] > 1) expected = MemberNameOf(row.group) + "_" + expected;
    EXPECT_EQ(row.member_name, expected) << row.group << " / " << row.key;
    EXPECT_TRUE(names.insert(row.member_name).second) << row.member_name;
    // Each row points at a member of its own, and finding it by member gives the row back.
    EXPECT_EQ(FindSetting(row.member), &row) << row.key;
    EXPECT_EQ(FindSetting(row.group, row.key), &row) << row.key;
  }
  EXPECT_EQ(MemberNameOf("IsMaximized"), "is_maximized");
  EXPECT_EQ(FindSetting("Output", "jpg quality"), nullptr);
}

// Every console option that sets a setting: option, group where the key alone is ambiguous,
// key, value form (a flag with the value it stores) and the further setting it sets.
struct ExpectedOption {
  const char* option;
  const char* group;
  const char* key;
  const char* form;
  const char* also_key;
  int also_value;
};

const ExpectedOption kExpectedOptions[] = {
    {"--dds-load-as", "", "DDS Load As", "keyword", "", 0},
    {"--gif-frame-loading", "", "GIF Frame Loading", "keyword", "", 0},
    {"--ico-frame-loading", "", "ICO Frame Loading", "keyword", "", 0},
    {"--raw-load-as", "", "RAW Load As", "keyword", "", 0},
    {"--raw-header-size", "", "RAW Header Size", "integer", "", 0},
    {"--raw-width", "", "RAW Image Width", "integer", "", 0},
    {"--raw-height", "", "RAW Image Height", "integer", "", 0},
    {"--raw-tone-mapping", "", "RAW Tone Mapping", "keyword", "", 0},
    {"--tiff-frame-loading", "", "TIFF Frame Loading", "keyword", "", 0},
    {"--bmp-bpp", "", "BMP BPP", "integer", "", 0},
    {"--bmp-compression", "", "BMP Compression", "keyword", "", 0},
    {"--bmp-color-table", "", "BMP Color Table", "keyword", "", 0},
    {"--dds-bpp", "", "DDS BPP", "integer", "", 0},
    {"--exr-bpp", "", "EXR BPP", "integer", "", 0},
    {"--exr-compression", "", "EXR Compression", "keyword", "", 0},
    {"--gif-bpp", "", "GIF BPP", "integer", "", 0},
    {"--hdr-bpp", "", "HDR BPP", "integer", "", 0},
    {"--ico-bpp", "", "ICO BPP", "integer", "", 0},
    {"--j2k-bpp", "", "J2K BPP", "integer", "", 0},
    {"--jng-bpp", "", "JNG BPP", "integer", "", 0},
    {"--jp2-bpp", "", "JP2 BPP", "integer", "", 0},
    {"--jpg-bpp", "", "JPG BPP", "integer", "", 0},
    {"--jpg-quality", "", "JPG Quality", "integer", "", 0},
    {"--jpg-chroma", "", "JPG Chroma", "keyword", "", 0},
    {"--jpg-save-as", "", "JPG Save As", "keyword", "", 0},
    {"--jxr-bpp", "", "JXR BPP", "integer", "", 0},
    {"--pbm-bpp", "", "PBM BPP", "integer", "", 0},
    {"--pcx-bpp", "", "PCX BPP", "integer", "", 0},
    {"--pfm-bpp", "", "PFM BPP", "integer", "", 0},
    {"--pgm-bpp", "", "PGM BPP", "integer", "", 0},
    {"--png-bpp", "", "PNG BPP", "integer", "", 0},
    {"--png-compression", "", "PNG Compression", "keyword", "", 0},
    {"--png-interlaced", "", "PNG Interlaced", "flag 1", "", 0},
    {"--ppm-bpp", "", "PPM BPP", "integer", "", 0},
    {"--psd-bpp", "", "PSD BPP", "integer", "", 0},
    {"--tga-bpp", "", "TGA BPP", "integer", "", 0},
    {"--tga-compression", "", "TGA Compression", "keyword", "", 0},
    {"--tiff-bpp", "", "TIFF BPP", "integer", "", 0},
    {"--tiff-compression", "", "TIFF Compression", "keyword", "", 0},
    {"--tiff-color-model", "", "TIFF Color Model", "keyword", "", 0},
    {"--wbmp-bpp", "", "WBMP BPP", "integer", "", 0},
    {"--webp-bpp", "", "WEBP BPP", "integer", "", 0},
    {"--xpm-bpp", "", "XPM BPP", "integer", "", 0},
    {"--rotation-type", "", "Image Rotation Type", "keyword", "", 0},
    {"--rotation", "Transform", "Image Rotation", "integer", "Do Image Rotation", 1},
    {"--rotation-back-color", "", "Image Rotation Back Color", "text", "", 0},
    {"--width", "", "Image Width", "integer", "Do Image Resize", 1},
    {"--width-unit", "", "Image Width Unit", "keyword", "", 0},
    {"--height", "", "Image Height", "integer", "Do Image Resize", 1},
    {"--height-unit", "", "Image Height Unit", "keyword", "", 0},
    {"--keep-aspect-ratio", "", "Keep Aspect Ratio", "flag 1", "", 0},
    {"--resize-type", "", "Image Resize Type", "keyword", "", 0},
    {"--resize-algorithm", "", "Image Resize Algorithm", "keyword", "", 0},
    {"--flip-horizontal", "", "Do Image Flip Horizontal", "flag 1", "", 0},
    {"--flip-vertical", "", "Do Image Flip Vertical", "flag 1", "", 0},
    {"--brightness", "", "Image Brightness", "integer", "Do Image Color Correction", 1},
    {"--contrast", "", "Image Contrast", "integer", "Do Image Color Correction", 1},
    {"--gamma", "", "Image Gamma", "decimal", "Do Image Color Correction", 1},
    {"--invert", "", "Image Invert", "flag 1", "Do Image Color Correction", 1},
    {"--greyscale", "", "Do Image Greyscale", "flag 1", "", 0},
    {"--threshold", "", "Image Threshold", "integer", "Do Image Threshold", 1},
    {"--fr-solid-left", "", "Solid Left", "integer", "Do Frame", 1},
    {"--fr-solid-right", "", "Solid Right", "integer", "Do Frame", 1},
    {"--fr-solid-top", "", "Solid Top", "integer", "Do Frame", 1},
    {"--fr-solid-bottom", "", "Solid Bottom", "integer", "Do Frame", 1},
    {"--fr-solid-left-color", "", "Solid Left Color", "text", "", 0},
    {"--fr-solid-right-color", "", "Solid Right Color", "text", "", 0},
    {"--fr-solid-top-color", "", "Solid Top Color", "text", "", 0},
    {"--fr-solid-bottom-color", "", "Solid Bottom Color", "text", "", 0},
    {"--fr-solid-opacity", "", "Solid Opacity", "integer", "", 0},
    {"--wm-text", "", "Text", "text", "Do Watermark", 1},
    {"--wm-font", "", "Font", "text", "", 0},
    {"--wm-font-size", "", "Font Size", "integer", "", 0},
    {"--wm-font-leading", "", "Font Leading", "integer", "", 0},
    {"--wm-font-color", "", "Font Color", "text", "", 0},
    {"--wm-font-style", "", "Font Style", "keyword", "", 0},
    {"--wm-font-effect", "", "Font Effect", "keyword", "", 0},
    {"--wm-text-antialiasing", "", "Text Antialiasing", "flag 1", "", 0},
    {"--wm-text-alignment", "", "Text Alignment", "keyword", "", 0},
    {"--wm-text-padding", "", "Text Padding", "integer", "", 0},
    {"--wm-text-opacity", "", "Text Opacity", "integer", "", 0},
    {"--wm-back-color", "", "Back Color", "text", "", 0},
    {"--wm-back-opacity", "", "Back Opacity", "integer", "", 0},
    {"--wm-text-boundary", "", "Text Boundary", "keyword", "", 0},
    {"--wm-text-position", "", "Text Position", "keyword", "", 0},
    {"--wm-text-x-offset", "", "Text X Offset", "integer", "", 0},
    {"--wm-text-y-offset", "", "Text Y Offset", "integer", "", 0},
    {"--wm-text-rotation", "", "Text Rotation", "integer", "", 0},
    {"--wm-text-size", "", "Text Size", "keyword", "", 0},
    {"--wm-image", "", "Image", "text", "Do Watermark", 2},
    {"--wm-image-greyscale", "", "Image Greyscale", "flag 1", "", 0},
    {"--wm-image-opacity", "", "Image Opacity", "integer", "", 0},
    {"--wm-image-boundary", "", "Image Boundary", "keyword", "", 0},
    {"--wm-image-position", "", "Image Position", "keyword", "", 0},
    {"--wm-image-x-offset", "", "Image X Offset", "integer", "", 0},
    {"--wm-image-y-offset", "", "Image Y Offset", "integer", "", 0},
    {"--wm-image-rotation", "Watermark", "Image Rotation", "integer", "", 0},
    {"--wm-image-size", "", "Image Size", "keyword", "", 0},
    {"--filename-mask", "", "Filename Mask", "text", "", 0},
    {"--file-timestamp", "", "File Timestamp", "keyword", "", 0},
    {"--file-timestamp-custom", "", "Custom Timestamp", "integer", "", 0},
    {"--no-subfolders", "", "Keep Subfolders", "flag 0", "", 0},
};

std::string FormName(const SettingInfo& row) {
  switch (row.option_form) {
    case OptionForm::kNone:
      return "none";
    case OptionForm::kInteger:
      return "integer";
    case OptionForm::kDecimal:
      return "decimal";
    case OptionForm::kKeyword:
      return "keyword";
    case OptionForm::kText:
      return "text";
    case OptionForm::kFlag:
      return "flag " + std::to_string(row.flag_value);
  }
  return "?";
}

TEST_F(SettingsTest, ConsoleOptionsWithTheirFormsAndFurtherSettings) {
  size_t rows_with_option = 0;
  for (const SettingInfo& row : SettingsTable()) {
    if (row.has_option()) {
      ++rows_with_option;
    } else {
      EXPECT_EQ(row.option_form, OptionForm::kNone) << row.key;
      EXPECT_EQ(row.also, nullptr) << row.key;
    }
  }
  EXPECT_EQ(rows_with_option, std::size(kExpectedOptions));

  for (const ExpectedOption& want : kExpectedOptions) {
    SCOPED_TRACE(want.option);
    // Names compare without regard to case.
    std::string upper = want.option;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    const SettingInfo* row = FindOption(upper);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->option, want.option);
    EXPECT_EQ(row->key, want.key);
    if (*want.group) {
      EXPECT_EQ(row->group, want.group);
    }
    EXPECT_EQ(FormName(*row), want.form);
    if (row->option_form == OptionForm::kKeyword) {
      EXPECT_GE(row->vocabulary, 0);
    }
    if (*want.also_key) {
      ASSERT_NE(row->also, nullptr);
      const SettingInfo* also = FindSetting(row->also);
      ASSERT_NE(also, nullptr);
      EXPECT_EQ(also->key, want.also_key);
      EXPECT_EQ(also->group, row->group);
      EXPECT_EQ(row->also_value, want.also_value);
    } else {
      EXPECT_EQ(row->also, nullptr);
    }
  }
}

TEST_F(SettingsTest, ProfilesKnowTheSolidOpacityByItsOtherName) {
  const SettingInfo* opacity = FindSetting("Frame", "Solid Opacity");
  ASSERT_NE(opacity, nullptr);
  EXPECT_EQ(FindOption("--fr-solid-opacity"), opacity);
  EXPECT_EQ(FindOption("--wm-solid-opacity"), nullptr);
  EXPECT_EQ(FindProfileOption("--WM-SOLID-OPACITY"), opacity);
  EXPECT_EQ(FindProfileOption("--FR-SOLID-OPACITY"), nullptr);
  // Every other option has the same name in profiles.
  for (const SettingInfo& row : SettingsTable()) {
    if (!row.has_option() || &row == opacity) continue;
    EXPECT_EQ(FindProfileOption(row.option), &row) << row.option;
  }
  EXPECT_EQ(FindOption(""), nullptr);
  EXPECT_EQ(FindProfileOption(""), nullptr);
}

TEST_F(SettingsTest, FormatRowsAreTheLoadAndSaveOptionsOfEachFormat) {
  // The per-format keys, in the order the configuration file writes them.
  using KeysOfFormat = std::map<std::string, std::vector<std::string>>;
  const KeysOfFormat input = {{"dds", {"DDS Load As"}},
                              {"gif", {"GIF Frame Loading"}},
                              {"ico", {"ICO Frame Loading"}},
                              {"raw",
                               {"RAW Load As", "RAW Header Size", "RAW Image Width",
                                "RAW Image Height", "RAW Tone Mapping"}},
                              {"tiff", {"TIFF Frame Loading"}}};
  KeysOfFormat output = {{"bmp", {"BMP BPP", "BMP Compression", "BMP Color Table"}},
                         {"exr", {"EXR BPP", "EXR Compression"}},
                         {"jpg", {"JPG BPP", "JPG Quality", "JPG Chroma", "JPG Save As"}},
                         {"png", {"PNG BPP", "PNG Compression", "PNG Interlaced"}},
                         {"tga", {"TGA BPP", "TGA Compression"}},
                         {"tiff", {"TIFF BPP", "TIFF Compression", "TIFF Color Model"}}};
  for (const std::string f : {"dds", "gif", "hdr", "ico", "j2k", "jng", "jp2", "jxr", "pbm", "pcx",
                              "pfm", "pgm", "ppm", "psd", "wbmp", "webp", "xpm"}) {
    std::string key = f;
    std::transform(key.begin(), key.end(), key.begin(), ::toupper);
    output[f] = {key + " BPP"};
  }

  for (const auto& [group, expected] : {std::pair{"Input", input}, std::pair{"Output", output}}) {
    KeysOfFormat actual;
    for (const SettingInfo& row : SettingsTable()) {
      if (row.group != group) continue;
      if (row.format.empty()) {
        EXPECT_EQ(row.key, "Format");
      } else {
        actual[std::string(row.format)].emplace_back(row.key);
      }
    }
    EXPECT_EQ(actual, expected) << group;
  }
  for (const SettingInfo& row : SettingsTable()) {
    if (row.group != "Input" && row.group != "Output") {
      EXPECT_TRUE(row.format.empty()) << row.key;
    }
  }
}

TEST_F(SettingsTest, WindowKeysWrittenWithThePositionLast) {
  std::vector<const SettingInfo*> window;
  for (const SettingInfo& row : SettingsTable()) {
    if (row.group == "Window") window.push_back(&row);
  }
  std::stable_sort(window.begin(), window.end(), [](const SettingInfo* a, const SettingInfo* b) {
    return !a->written_last && b->written_last;
  });
  std::vector<std::string_view> keys;
  for (const SettingInfo* row : window) keys.push_back(row->key);
  EXPECT_EQ(keys, (std::vector<std::string_view>{"IsMaximized", "Width", "Height", "X", "Y"}));
  for (const SettingInfo& row : SettingsTable()) {
    if (row.group != "Window") {
      EXPECT_FALSE(row.written_last) << row.key;
    }
  }
}

TEST_F(SettingsTest, FlavoursDifferOnlyInKeepAspectRatio) {
  Settings desktop, console;
  desktop.configuration_path = "/somewhere/config.ini";
  console.configuration_path = desktop.configuration_path;
  ResetSettings(desktop, DefaultsFlavour::kDesktop);
  ResetSettings(console, DefaultsFlavour::kConsole);
  // The two resets may fall into different seconds.
  console.update_date = desktop.update_date;
  console.custom_timestamp = desktop.custom_timestamp;
  for (const SettingInfo& row : SettingsTable()) {
    if (row.key == "Keep Aspect Ratio") {
      EXPECT_EQ(desktop.keep_aspect_ratio, 1);
      EXPECT_EQ(console.keep_aspect_ratio, 0);
    } else {
      EXPECT_EQ(ValueText(desktop, row), ValueText(console, row)) << row.key;
    }
  }
  // The head fields are left alone.
  EXPECT_EQ(desktop.configuration_path, "/somewhere/config.ini");
}

TEST_F(SettingsTest, MissingKeysReadTheirLoadDefaults) {
  Settings s;
  ResetSettings(s, DefaultsFlavour::kConsole);
  for (const SettingInfo& row : SettingsTable()) {
    SetNumber(s, row, 77);
    SetText(s, row, "junk");
  }
  SetScreenSizeProvider([] { return ScreenSize{1920, 1080}; });
  const int32_t before = platform::CurrentDate();
  for (const SettingInfo& row : SettingsTable()) SetMissingKeyValue(s, row);
  const int32_t after = platform::CurrentDate();

  Settings desktop;
  ResetSettings(desktop, DefaultsFlavour::kDesktop);
  EXPECT_EQ(s.cfg, 0);
  EXPECT_EQ(s.x, 100);
  EXPECT_EQ(s.y, 100);
  EXPECT_EQ(s.keep_aspect_ratio, 1);
  EXPECT_GE(s.update_date, before);
  EXPECT_LE(s.custom_timestamp, after);
  EXPECT_EQ(s.input_format, "png");
  EXPECT_EQ(s.output_format, "jpg");
  for (const SettingInfo& row : SettingsTable()) {
    if (row.key == "CFG" || row.key == "X" || row.key == "Y" || row.kind == ValueKind::kDate) {
      continue;
    }
    EXPECT_EQ(ValueText(s, row), ValueText(desktop, row)) << row.key;
  }
}

TEST_F(SettingsTest, WindowPositionCentresOnThePrimaryScreen) {
  const struct {
    ScreenSize screen;
    int32_t x, y;
  } cases[] = {
      {{1920, 1080}, 705, 375}, {{500, 300}, 100, 100},
      {{510, 330}, 100, 100},  // not larger than the window
      {{511, 331}, 0, 0},      // the halves are rounded down
      {{1025, 769}, 257, 219},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultWindowX(c.screen), c.x) << c.screen.width;
    EXPECT_EQ(DefaultWindowY(c.screen), c.y) << c.screen.height;
  }

  Settings s;
  ResetSettings(s, DefaultsFlavour::kDesktop);  // no provider: 1024 x 768
  EXPECT_EQ(s.x, 257);
  EXPECT_EQ(s.y, 219);
  SetScreenSizeProvider([] { return ScreenSize{1920, 1080}; });
  ResetSettings(s, DefaultsFlavour::kConsole);
  EXPECT_EQ(s.x, 705);
  EXPECT_EQ(s.y, 375);
  SetScreenSizeProvider([] { return ScreenSize{500, 300}; });
  ResetSettings(s, DefaultsFlavour::kDesktop);
  EXPECT_EQ(s.x, 100);
  EXPECT_EQ(s.y, 100);
  SetScreenSizeProvider(nullptr);
  EXPECT_EQ(PrimaryScreenSize().width, 1024);
  EXPECT_EQ(PrimaryScreenSize().height, 768);
}

TEST_F(SettingsTest, NumbersAreStoredInTheMembersWidth) {
  const SettingInfo& algorithm = *FindSetting("Transform", "Image Resize Algorithm");
  const SettingInfo& quality = *FindSetting("Output", "JPG Quality");
  const SettingInfo& gamma = *FindSetting("Adjustment", "Image Gamma");
  const SettingInfo& mask = *FindSetting("Advanced", "Filename Mask");
  const struct {
    const SettingInfo* row;
    int64_t given;
    int64_t kept;
  } cases[] = {
      {&algorithm, 300, 44},
      {&algorithm, 255, -1},
      {&algorithm, -129, 127},
      {&quality, 300, 300},
      {&quality, (int64_t{1} << 32) + 5, 5},
      {&quality, int64_t{0xFFFFFFFF}, -1},
      {&gamma, 3, 3},
  };
  for (const auto& c : cases) {
    Settings s;
    SetNumber(s, *c.row, c.given);
    EXPECT_EQ(GetNumber(s, *c.row), c.kept) << c.row->key << " " << c.given;
    EXPECT_EQ(ValueText(s, *c.row), c.row == &gamma ? "3.000000" : std::to_string(c.kept));
  }

  Settings s;
  s.filename_mask = "%n%";
  SetNumber(s, mask, 5);  // a text member ignores numbers
  EXPECT_EQ(s.filename_mask, "%n%");
  EXPECT_EQ(GetNumber(s, mask), 0);
  SetText(s, quality, "12");  // and a number member ignores texts
  EXPECT_EQ(GetText(s, quality), "");
  EXPECT_EQ(ValueText(s, mask), "%n%");

  SetDecimal(s, quality, 81.9);
  EXPECT_EQ(s.jpg_quality, 81);
  SetDecimal(s, quality, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(s.jpg_quality, 0);
  SetDecimal(s, quality, 1e300);
  EXPECT_EQ(s.jpg_quality, 0);
}

TEST_F(SettingsTest, FloatTextUsesSixDecimalsAndNamesTheSpecialValues) {
  const SettingInfo& gamma = *FindSetting("Adjustment", "Image Gamma");
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {1.0, "1.000000"},
      {0.01f, "0.010000"},
      {-2.5, "-2.500000"},
      {std::numeric_limits<double>::infinity(), "+Infinity"},
      {-std::numeric_limits<double>::infinity(), "-Infinity"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
  };
  for (const auto& c : cases) {
    Settings s;
    SetDecimal(s, gamma, c.value);
    EXPECT_EQ(ValueText(s, gamma), c.text);
  }
  Settings s;
  SetDecimal(s, gamma, std::numeric_limits<double>::infinity());
  EXPECT_EQ(GetNumber(s, gamma), 0);
}

}  // namespace
}  // namespace quill
