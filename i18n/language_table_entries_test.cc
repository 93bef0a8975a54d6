// The built-in English table, entry by entry: every key of every group with its exact text,
// and no entry beyond them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/language_table.h"

namespace quill {
namespace {

struct Row {
  const char* group;
  const char* key;
  const char* text;
};

// The groups in their stored order.
constexpr const char* kGroups[] = {"Menu",  "General",         "Msg", "Dialog", "Preferences",
                                   "About", "Custom-Converter"};

// Every entry of the table. "\r\n" is a carriage return followed by a line feed. "Medium"
// stands twice in "Preferences", as it does in the table.
constexpr Row kRows[] = {
    // Menu
    {"Menu", "File", "File"},
    {"Menu", "New", "New"},
    {"Menu", "Open", "Open..."},
    {"Menu", "Save As", "Save As..."},
    {"Menu", "Select Input File", "Add Input File..."},
    {"Menu", "Select Input Files", "Add Input Files..."},
    {"Menu", "Select Input Folder", "Add Input Folder..."},
    {"Menu", "Delete Input Files", "Delete Files From the List"},
    {"Menu", "Select Output Folder", "Select Output Folder..."},
    {"Menu", "Output Format Options", "Options..."},
    {"Menu", "Import Input Files", "Import Files..."},
    {"Menu", "Export Input Files", "Export Files..."},
    {"Menu", "Exit", "Exit"},
    {"Menu", "Edit", "Edit"},
    {"Menu", "Copy", "Copy"},
    {"Menu", "Delete", "Delete"},
    {"Menu", "Select All", "Select All"},
    {"Menu", "Converter", "Converter"},
    {"Menu", "Convert", "Convert"},
    {"Menu", "Batch Convert", "Batch Convert..."},
    {"Menu", "Custom Converter", "Find a File Converter..."},
    {"Menu", "Preferences", "Preferences..."},
    {"Menu", "Help", "Help"},
    {"Menu", "Manual", "User Manual..."},
    {"Menu", "Send Feedback", "Send Feedback"},
    {"Menu", "Visit Homepage", "Visit the Program's Homepage"},
    {"Menu", "Check For New Version", "Check For a New Version"},
    {"Menu", "About", "About..."},
    // General
    {"General", "Input File", "Input File:"},
    {"General", "Input Files", "Input Files:"},
    {"General", "Filename", "Filename"},
    {"General", "Output Folder", "Output Folder:"},
    {"General", "Output Format", "Output Format:"},
    {"General", "Convert", "Convert"},
    {"General", "Ready", "Ready"},
    {"General", "Preparing", "Preparing..."},
    {"General", "Importing", "Importing..."},
    {"General", "Converting", "Converting..."},
    // Msg
    {"Msg", "Error", "Error"},
    {"Msg", "Warning", "Warning"},
    {"Msg", "Insufficient memory", "Insufficient Memory"},
    {"Msg", "Unable to open file", "Unable to open the file: %s1%!"},
    {"Msg", "Unable to save file", "Unable to save the file: %s1%!"},
    {"Msg", "Empty input files",
     "No input file(s) found. Please, add valid file(s) and try again!"},
    {"Msg", "Empty input folder",
     "The input folder's field is empty. Please, check the existed input folder and try again!"},
    {"Msg", "Invalid input folder",
     "The following input folder is invalid or doesn't exist:\r\n%s1%\r\n\r\nPlease, correct the "
     "input path and try again!"},
    {"Msg", "Empty output folder",
     "The output folder's field is empty. Please, select existed output folder and try again!"},
    {"Msg", "Invalid output folder",
     "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\nPlease, correct the "
     "output path and try again!"},
    {"Msg", "Invalid width", "Invalid resize width value!"},
    {"Msg", "Invalid height", "Invalid resize height value!"},
    {"Msg", "Invalid conversion type", "Invalid conversion type!"},
    {"Msg", "Invalid watermark font", "Unable to load selected font for a watermark: %s1%"},
    {"Msg", "Empty watermark image", "Selected watermark image is invalid/empty!"},
    {"Msg", "Invalid watermark image", "Unable to load selected file as a watermark image: %s1%"},
    {"Msg", "Import complete", "Import complete, new files added: %s1%"},
    {"Msg", "Import is not complete", "Import stopped"},
    {"Msg", "Export complete", "Export complete, entries saved: %s1%"},
    {"Msg", "Export is not complete", "Export stopped"},
    {"Msg", "Conversion complete", "Conversion complete"},
    {"Msg", "Conversion is not complete", "Conversion stopped"},
    {"Msg", "Progress", "(%s1%/%s2%)"},
    {"Msg", "Files converted", "Files converted: %s1% of %s2%"},
    {"Msg", "New Update", "New Update"},
    {"Msg", "New Update Text",
     "A new version of Quillmere is available! Are you ready to download it right now?"},
    {"Msg", "No Update", "No Update"},
    {"Msg", "No Update Text",
     "There is no update of Quillmere yet. You're using the most recent version."},
    {"Msg", "Check for Updates", "Check for Updates"},
    {"Msg", "Ask check for updates", "Do you want to check for updates?"},
    {"Msg", "Reset to Defaults", "Reset to Defaults"},
    {"Msg", "Ask reset to defaults",
     "Are you sure you want to reset all your settings to the default values?"},
    {"Msg", "Internet connection problems", "Internet connection problems!"},
    {"Msg", "Ask overwrite file", "The file already exist. Do you want to overwrite it?"},
    {"Msg", "Clean recent files", "Clean Recent Files"},
    {"Msg", "Ask clean recent files", "Do you want to clean the recent files list?"},
    {"Msg", "Ask continue to find",
     "No matches of %s1% found!\r\n\r\nDo you want to search from the start of the list?"},
    {"Msg", "Ask break import", "Do you want to break the import?"},
    {"Msg", "Ask break export", "Do you want to break the export?"},
    {"Msg", "Ask break conversion", "Do you want to break the conversion?"},
    {"Msg", "Empty extensions", "Please, fill all required fields and try again!"},
    // Dialog
    {"Dialog", "Select Input Files", "Select Input Files"},
    {"Dialog", "Select Input Folder", "Select Input Folder"},
    {"Dialog", "Select Output Folder", "Select Output Folder"},
    {"Dialog", "Import Input Files", "Import Input Files From A List"},
    {"Dialog", "Export Input Files", "Export Input Files"},
    {"Dialog", "Select Watermark Image", "Select Watermark Image"},
    {"Dialog", "All Supported Files", "All Supported Files"},
    {"Dialog", "Text Files", "Text Files"},
    {"Dialog", "All Files", "All Files"},
    {"Dialog", "Import Progress", "Importing"},
    {"Dialog", "Export Progress", "Exporting"},
    {"Dialog", "Convert Progress", "Converting"},
    {"Dialog", "OK", "OK"},
    {"Dialog", "Cancel", "Cancel"},
    {"Dialog", "Help", "Help"},
    {"Dialog", "Defaults", "Defaults"},
    // Preferences
    {"Preferences", "Title", "Preferences..."},
    {"Preferences", "None", "None"},
    {"Preferences", "Auto", "Auto"},
    {"Preferences", "General", "General"},
    {"Preferences", "Language", "Language:"},
    {"Preferences", "Check for Updates", "Check for Updates:"},
    {"Preferences", "Every day", "Every day"},
    {"Preferences", "Every week", "Every week"},
    {"Preferences", "Every month", "Every month"},
    {"Preferences", "Every 3 months", "Every 3 months"},
    {"Preferences", "Every 6 months", "Every 6 months"},
    {"Preferences", "Never", "Never"},
    {"Preferences", "Save window position", "Save Window's Coords:"},
    {"Preferences", "Interface", "Interface"},
    {"Preferences", "UI Theme", "Theme:"},
    {"Preferences", "UI Size", "Icon Size:"},
    {"Preferences", "Small", "Small"},
    {"Preferences", "Medium", "Medium"},
    {"Preferences", "Large", "Large"},
    {"Preferences", "Extra Large", "Extra Large"},
    {"Preferences", "Huge", "Huge"},
    {"Preferences", "Input", "Input"},
    {"Preferences", "Input Format", "Input Format:"},
    {"Preferences", "Header Size", "Header Size:"},
    {"Preferences", "Bytes", "bytes"},
    {"Preferences", "Load As", "Load As:"},
    {"Preferences", "RGB8", "RGB 8-bit"},
    {"Preferences", "RGB16", "RGB 16-bit"},
    {"Preferences", "RGB24", "RGB 24-bit"},
    {"Preferences", "RGB48HS", "RGB 48-bit (HS)"},
    {"Preferences", "RGB48", "RGB 48-bit"},
    {"Preferences", "BGRA", "BGR 32-bit"},
    {"Preferences", "RGBA", "RGB 32-bit"},
    {"Preferences", "Frame Loading", "Frame Loading:"},
    {"Preferences", "All Frames", "All"},
    {"Preferences", "First Frame", "First"},
    {"Preferences", "Middle Frame", "Middle"},
    {"Preferences", "Last Frame", "Last"},
    {"Preferences", "Random Frame", "Random"},
    {"Preferences", "Tone Mapping", "HDR Tone Mapping:"},
    {"Preferences", "Linear", "Linear"},
    {"Preferences", "Adaptive Logarithmic", "Adaptive Logarithmic"},
    {"Preferences", "DR Reduction", "DR Reduction"},
    {"Preferences", "Gradient Domain", "Gradient Domain"},
    {"Preferences", "Output", "Output"},
    {"Preferences", "Output Format", "Output Format:"},
    {"Preferences", "Bits Per Pixel", "Bits Per Pixel:"},
    {"Preferences", "Compression", "Compression:"},
    {"Preferences", "RLE", "RLE"},
    {"Preferences", "ZIP", "ZIP"},
    {"Preferences", "PIZ", "PIZ Wavelet"},
    {"Preferences", "PXR24", "PXR24"},
    {"Preferences", "B44", "B44"},
    {"Preferences", "ZLIB1", "ZLib Level 1"},
    {"Preferences", "ZLIB6", "ZLib Level 6"},
    {"Preferences", "ZLIB9", "ZLib Level 9"},
    {"Preferences", "CCITTFAX3", "CCITT Group 3 Fax"},
    {"Preferences", "CCITTFAX4", "CCITT Group 4 Fax"},
    {"Preferences", "PACKBITS", "PackBits"},
    {"Preferences", "DEFLATE", "Deflate (ZLib)"},
    {"Preferences", "ADOBEDEFLATE", "Adobe Deflate"},
    {"Preferences", "LZW", "LZW"},
    {"Preferences", "JPEG", "JPEG"},
    {"Preferences", "LOGLUV", "LogLuv"},
    {"Preferences", "Color Table", "Color Table:"},
    {"Preferences", "Exact", "Exact"},
    {"Preferences", "Color Model", "Color Model:"},
    {"Preferences", "RGB", "RGB"},
    {"Preferences", "CMYK", "CMYK"},
    {"Preferences", "LAB", "LAB"},
    {"Preferences", "Image Quality", "Image Quality:"},
    {"Preferences", "Chroma Subsampling", "Chroma Subsampling:"},
    {"Preferences", "Low", "Low"},
    {"Preferences", "Medium", "Medium"},
    {"Preferences", "High", "High"},
    {"Preferences", "Save As", "Save As:"},
    {"Preferences", "Baseline Standard", "Baseline Standard"},
    {"Preferences", "Baseline Simple", "Baseline Simple"},
    {"Preferences", "Baseline Optimized", "Baseline Optimized"},
    {"Preferences", "Progressive", "Progressive"},
    {"Preferences", "Interlaced", "Interlaced:"},
    {"Preferences", "Transform", "Transform"},
    {"Preferences", "Image Rotation", "Image Rotation:"},
    {"Preferences", "Rotation Type", "Rotation Type:"},
    {"Preferences", "Simple Rotation", "Simple"},
    {"Preferences", "Advanced Rotation", "Advanced"},
    {"Preferences", "Rotation Angle", "Rotation Angle:"},
    {"Preferences", "Background Color", "Background Color:"},
    {"Preferences", "Image Resize", "Image Resize:"},
    {"Preferences", "Image Width", "Image Width:"},
    {"Preferences", "Image Height", "Image Height:"},
    {"Preferences", "Pixels", "pixels"},
    {"Preferences", "Percent", "percent"},
    {"Preferences", "Keep Aspect Ratio", "Keep Proportions:"},
    {"Preferences", "Resize Type", "Resize Type:"},
    {"Preferences", "All Images", "All Images"},
    {"Preferences", "Large Images", "Large Images"},
    {"Preferences", "Resize Algorithm", "Resize Algorithm:"},
    {"Preferences", "Box", "Box"},
    {"Preferences", "Bilinear", "Bilinear"},
    {"Preferences", "Bspline", "B-Spline"},
    {"Preferences", "Bicubic", "Bicubic"},
    {"Preferences", "Catmullrom", "Catmull-Rom Spline"},
    {"Preferences", "Lanczos", "Lanczos"},
    {"Preferences", "Image Flip Horizontal", "Flip Horizontal:"},
    {"Preferences", "Image Flip Vertical", "Flip Vertical:"},
    {"Preferences", "Adjustment", "Adjustment"},
    {"Preferences", "Image Brightness", "Image Brightness:"},
    {"Preferences", "Image Contrast", "Image Contrast:"},
    {"Preferences", "Image Gamma", "Gamma Correction:"},
    {"Preferences", "Image Invert", "Invert Image:"},
    {"Preferences", "Image Greyscale", "Greyscale Image:"},
    {"Preferences", "Image Threshold", "Image Threshold:"},
    {"Preferences", "Threshold Level", "Threshold Level:"},
    {"Preferences", "Frame", "Frame"},
    {"Preferences", "Frame Type", "Frame:"},
    {"Preferences", "Frame Solid", "Solid Color"},
    {"Preferences", "Left", "Left:"},
    {"Preferences", "Right", "Right:"},
    {"Preferences", "Top", "Top:"},
    {"Preferences", "Bottom", "Bottom:"},
    {"Preferences", "Left Color", "Left Color:"},
    {"Preferences", "Right Color", "Right Color:"},
    {"Preferences", "Top Color", "Top Color:"},
    {"Preferences", "Bottom Color", "Bottom Color:"},
    {"Preferences", "Watermark", "Watermark"},
    {"Preferences", "Watermark Type", "Watermark:"},
    {"Preferences", "Watermark Text", "Text"},
    {"Preferences", "Watermark Image", "Image"},
    {"Preferences", "Text", "Text:"},
    {"Preferences", "Image", "Image:"},
    {"Preferences", "Font", "Font:"},
    {"Preferences", "Font Size", "Font Size:"},
    {"Preferences", "Points", "points"},
    {"Preferences", "Font Leading", "Font Leading:"},
    {"Preferences", "Font Color", "Font Color:"},
    {"Preferences", "Color", "Color"},
    {"Preferences", "Black", "Black"},
    {"Preferences", "Silver", "Silver"},
    {"Preferences", "Gray", "Gray"},
    {"Preferences", "White", "White"},
    {"Preferences", "Maroon", "Maroon"},
    {"Preferences", "Red", "Red"},
    {"Preferences", "Purple", "Purple"},
    {"Preferences", "Fuchsia", "Fuchsia"},
    {"Preferences", "Green", "Green"},
    {"Preferences", "Lime", "Lime"},
    {"Preferences", "Olive", "Olive"},
    {"Preferences", "Yellow", "Yellow"},
    {"Preferences", "Navy", "Navy"},
    {"Preferences", "Blue", "Blue"},
    {"Preferences", "Teal", "Teal"},
    {"Preferences", "Aqua", "Aqua"},
    {"Preferences", "Orange", "Orange"},
    {"Preferences", "Brown", "Brown"},
    {"Preferences", "Violet", "Violet"},
    {"Preferences", "Font Style", "Font Style:"},
    {"Preferences", "Regular", "Regular"},
    {"Preferences", "Bold", "Bold"},
    {"Preferences", "Italic", "Italic"},
    {"Preferences", "Bold Italic", "Bold Italic"},
    {"Preferences", "Font Effect", "Font Effect:"},
    {"Preferences", "Underline", "Underline"},
    {"Preferences", "Strikeout", "Strikethrough"},
    {"Preferences", "Antialiasing", "Antialiasing:"},
    {"Preferences", "Text Alignment", "Text Alignment:"},
    {"Preferences", "Align Left", "Left"},
    {"Preferences", "Align Center", "Center"},
    {"Preferences", "Align Right", "Right"},
    {"Preferences", "Text Padding", "Text Padding:"},
    {"Preferences", "Text Opacity", "Text Opacity:"},
    {"Preferences", "Background Opacity", "Background Opacity:"},
    {"Preferences", "Opacity", "Opacity:"},
    {"Preferences", "Boundary", "Boundary:"},
    {"Preferences", "Bound Image", "Image"},
    {"Preferences", "Bound Frame", "Frame"},
    {"Preferences", "Position", "Position:"},
    {"Preferences", "Top-Left", "Top-Left"},
    {"Preferences", "Top-Center", "Top-Center"},
    {"Preferences", "Top-Right", "Top-Right"},
    {"Preferences", "Middle-Left", "Middle-Left"},
    {"Preferences", "Middle-Center", "Middle-Center"},
    {"Preferences", "Middle-Right", "Middle-Right"},
    {"Preferences", "Bottom-Left", "Bottom-Left"},
    {"Preferences", "Bottom-Center", "Bottom-Center"},
    {"Preferences", "Bottom-Right", "Bottom-Right"},
    {"Preferences", "X-Offset", "X-Offset:"},
    {"Preferences", "Y-Offset", "Y-Offset:"},
    {"Preferences", "Size", "Size:"},
    {"Preferences", "Fixed", "Fixed"},
    {"Preferences", "Proportional", "Proportional"},
    {"Preferences", "Fit", "Fit"},
    {"Preferences", "Fill", "Fill"},
    {"Preferences", "Scale", "Scale:"},
    {"Preferences", "Advanced", "Advanced"},
    {"Preferences", "Filename Mask", "Filename Mask:"},
    {"Preferences", "File Timestamp", "File Timestamp:"},
    {"Preferences", "Current", "Current"},
    {"Preferences", "Original", "Original"},
    {"Preferences", "Custom", "Custom"},
    {"Preferences", "Custom Timestamp", "Custom Timestamp:"},
    {"Preferences", "Out Folders History", "Output Folders History:"},
    {"Preferences", "Clean On Exit", "Clean on Exit"},
    {"Preferences", "Keep Folders", "Keep Recent"},
    {"Preferences", "Out Folders Number", "Output Folders Number:"},
    {"Preferences", "Keep Subfolders", "Keep Subfolders:"},
    {"Preferences", "Export", "Export"},
    {"Preferences", "Txt", "TXT"},
    {"Preferences", "Txt Export", "Export to TXT"},
    {"Preferences", "Csv Export", "Export to CSV"},
    {"Preferences", "Csv", "CSV"},
    {"Preferences", "Csv Delimiter", "CSV Delimiter:"},
    {"Preferences", "Privacy", "Privacy"},
    {"Preferences", "Clean Recent Files", "Clean Recent Files List on Exit"},
    // About
    {"About", "Title", "About..."},
    {"About", "Version", "Version:"},
    {"About", "Website", "Web:"},
    {"About", "Email", "E-mail:"},
    // Custom-Converter
    {"Custom-Converter", "Title", "Find a File Converter"},
    {"Custom-Converter", "From", "From:"},
    {"Custom-Converter", "To", "To:"},
    {"Custom-Converter", "Search", "Search"},
};

std::u16string UpperKey(std::string_view key) {
  std::u16string upper;
  for (char c : key) upper.push_back(c >= 'a' && c <= 'z' ? char16_t(c - 'a' + 'A') : char16_t(c));
  return upper;
}

std::string Describe(const Row& row) {
  return std::string(row.group) + " / \"" + row.key + "\" -> \"" + row.text + "\"";
}

TEST(LanguageTableEntriesTest, EveryEntryHasItsText) {
  const LanguageTable table = LoadLanguageTable();
  for (const Row& row : kRows) {
    EXPECT_EQ(LookupText(table, row.group, row.key), row.text) << Describe(row);
  }
}

// Each stored group holds exactly the listed keys (duplicates included), each stored entry,
// the second "Medium" too, with the listed text.
TEST(LanguageTableEntriesTest, GroupsHoldNoOtherEntries) {
  const LanguageTable table = LoadLanguageTable();
  constexpr int kGroupCount = sizeof(kGroups) / sizeof(kGroups[0]);
  ASSERT_EQ(table.group_count(), kGroupCount);
  for (int g = 1; g <= kGroupCount; ++g) {
    const std::string_view name = kGroups[g - 1];
    const LanguageGroup& group = table.group(g);
    EXPECT_EQ(group.name, UpperKey(name));

    std::vector<std::u16string> listed;
    for (const Row& row : kRows) {
      if (row.group == name) listed.push_back(UpperKey(row.key));
    }
    std::vector<std::u16string> stored;
    for (int e = group.first; e <= group.last; ++e) {
      const LanguageEntry& entry = table.entry(e);
      stored.push_back(entry.key);
      const auto row = std::find_if(std::begin(kRows), std::end(kRows), [&](const Row& r) {
        return r.group == name && UpperKey(r.key) == entry.key;
      });
      if (row == std::end(kRows)) {
        ADD_FAILURE() << name << ": stored entry " << e << " has a key that is not listed";
      } else {
        EXPECT_EQ(entry.text, row->text) << "stored entry " << e << ": " << Describe(*row);
      }
    }
    std::sort(listed.begin(), listed.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored.size(), listed.size()) << name;
    EXPECT_TRUE(stored == listed) << name << ": stored keys differ from the listed ones";
  }
}

}  // namespace
}  // namespace quill
