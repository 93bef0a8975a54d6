// The format tables, lookups, table order, accepted extensions and display texts.
#include "engine/format_registry.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quill {
namespace {

TEST(FormatRegistryTest, TablesHoldEveryFormatWithDistinctKeys) {
  const FormatRegistry registry;
  EXPECT_EQ(registry.outputs().size(), 20u);
  EXPECT_EQ(registry.inputs().size(), 79u);
  std::set<std::string> output_keys, input_keys, families;
  for (const OutputFormat& f : registry.outputs()) {
    EXPECT_TRUE(output_keys.insert(f.extension).second) << f.extension;
  }
  for (const InputFormat& f : registry.inputs()) {
    EXPECT_TRUE(input_keys.insert(f.extension).second) << f.extension;
    families.insert(f.group);
  }
  EXPECT_EQ(families.size(), 16u);
}

// The whole output table, in building order; library formats as the library's numbers.
TEST(FormatRegistryTest, OutputTableRowsInOrder) {
  const struct {
    const char* ext;
    int library;
    const char* description;
    const char* depths;
  } expected[] = {
      {"bmp", 0, "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
      {"exr", 29, "ILM OpenEXR", "96"},
      {"gif", 25, "Graphics Interchange Format", "8"},
      {"hdr", 26, "High Dynamic Range Image", "96"},
      {"ico", 1, "Windows Icon", "1,4,8,16,24,32"},
      {"j2k", 30, "JPEG-2000 Codestream", "8,24,32,48"},
      {"jng", 3, "JPEG Network Graphics", "24,32"},
      {"jp2", 31, "JPEG-2000 File Format", "8,24,32,48"},
      {"jpg", 2, "JPEG File Format", "8,24"},
      {"jxr", 36, "JPEG XR Image Format", "1,8,16,24,32,48,96"},
      {"pbm", 7, "Portable Bitmap", "1"},
      {"pfm", 32, "Portable Floatmap", "96"},
      {"pgm", 11, "Portable Greymap", "8"},
      {"png", 13, "Portable Network Graphics", "1,4,8,24,32,48"},
      {"ppm", 14, "Portable Pixelmap", "24,48"},
      {"tga", 17, "Truevision Targa", "8,16,24,32"},
      {"tiff", 18, "Tagged Image File Format", "1,4,8,24,32,48,96"},
      {"wbmp", 19, "Wireless Bitmap", "1"},
      {"webp", 35, "Google WebP Image Format", "24,32"},
      {"xpm", 23, "X11 Pixmap Format", "24"},
  };
  const FormatRegistry registry;
  ASSERT_EQ(registry.outputs().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const OutputFormat& f = registry.outputs()[i];
    EXPECT_EQ(f.extension, expected[i].ext) << i;
    EXPECT_EQ(f.library_format, expected[i].library) << f.extension;
    EXPECT_EQ(f.description, expected[i].description) << f.extension;
    EXPECT_EQ(f.allowed_depths, expected[i].depths) << f.extension;
  }
  EXPECT_EQ(registry.AllowedDepths("jxr"), (std::vector<int>{1, 8, 16, 24, 32, 48, 96}));
  EXPECT_EQ(registry.AllowedDepths("Jpg"), (std::vector<int>{8, 24}));
  EXPECT_EQ(registry.AllowedDepths("xpm"), (std::vector<int>{24}));
  EXPECT_TRUE(registry.AllowedDepths("pcx").empty());
}

TEST(FormatRegistryTest, InputFamiliesInBuildingOrder) {
  const std::vector<std::pair<std::string, size_t>> expected = {
      {"bmp", 3}, {"dds", 1},  {"emf", 2}, {"gif", 1}, {"hdr", 2}, {"ico", 1},
      {"jpg", 4}, {"pcd", 4},  {"pcx", 1}, {"pic", 3}, {"png", 1}, {"psd", 1},
      {"tga", 2}, {"tiff", 2}, {"wmf", 3}, {"raw", 48}};
  const FormatRegistry registry;
  std::vector<std::pair<std::string, size_t>> actual;
  for (const InputFormat& f : registry.inputs()) {
    if (actual.empty() || actual.back().first != f.group) {
      // A family is built in one run and opens with its own entry.
      EXPECT_EQ(f.extension, f.group);
      actual.push_back({f.group, 0});
    }
    ++actual.back().second;
  }
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(registry.inputs().front().extension, "bmp");
  EXPECT_EQ(registry.inputs().back().extension, "rwl");
}

TEST(FormatRegistryTest, InputSpotChecks) {
  const struct {
    const char* ext;
    const char* group;
    const char* description;
  } cases[] = {{"dib", "bmp", "Windows or OS/2 Bitmap"},
               {"emz", "emf", "Enhanced Metafile Format"},
               {"gif", "gif", "GIF File"},
               {"hdri", "hdr", "High Dynamic Range File"},
               {"jif", "jpg", "JPEG File"},
               {"ppcd", "pcd", "Kodak PhotoCD File"},
               {"pct", "pic", "Macintosh PICT"},
               {"targa", "tga", "Truevision Targa"},
               {"tif", "tiff", "Tagged Image File Format"},
               {"wmz", "wmf", "Windows Metafile Format"},
               {"apm", "wmf", "Aldus Placeable Metafile"},
               {"raw2", "raw", "Camera RAW Image"},
               {"3fr", "raw", "Hasselblad Camera RAW Image"},
               {"srf", "raw", "Sony Camera RAW Image"},
               {"eip", "raw", "Phase One Camera RAW Image"},
               {"dcs", "raw", "Kodak Camera RAW Image"},
               {"ia", "raw", "Sinar RAW Image"},
               {"qtk", "raw", "Apple Quicktake Camera RAW Image"},
               {"rdc", "raw", "Digital Foto Maker RAW Image"},
               {"ari", "raw", "ARRI RAW Image"},
               {"rwl", "raw", "Leica Camera RAW Image"}};
  const FormatRegistry registry;
  for (const auto& c : cases) {
    const InputFormat* f = registry.FindInput(c.ext);
    ASSERT_NE(f, nullptr) << c.ext;
    EXPECT_EQ(f->group, c.group) << c.ext;
    EXPECT_EQ(f->description, c.description) << c.ext;
  }
}

TEST(FormatRegistryTest, FindIgnoresLetterCaseAndFindsNothingUnknown) {
  const FormatRegistry registry;
  const OutputFormat* jpg = registry.FindOutput("jpg");
  ASSERT_NE(jpg, nullptr);
  for (const char* spelling : {"JPG", "Jpg", "jPg"}) {
    EXPECT_EQ(registry.FindOutput(spelling), jpg) << spelling;
  }
  const InputFormat* tif = registry.FindInput("tif");
  ASSERT_NE(tif, nullptr);
  for (const char* spelling : {"TIF", "Tif"}) EXPECT_EQ(registry.FindInput(spelling), tif);

  // Input-only extensions, near misses and text around a key find no output format.
  for (const char* unknown : {"", "jpeg", "pcx", "dds", "psd", ".jpg", "jpg ", "xyz"}) {
    EXPECT_EQ(registry.FindOutput(unknown), nullptr) << '"' << unknown << '"';
  }
  for (const char* unknown : {"", "webp", "exr", ".png", "png ", "tiff2", "xyz"}) {
    EXPECT_EQ(registry.FindInput(unknown), nullptr) << '"' << unknown << '"';
  }
}

// Keyed tables iterate by hash slot, and within a slot the later entry comes first: emz/cap,
// jpg/cs1, arw/pxn, sr2/dcr and mos/pef share slots. Computed apart from the program.
TEST(FormatRegistryTest, InputTableOrderFollowsHashSlots) {
  const std::vector<std::string> expected = {
      "eip",  "tga",  "wmf",  "iiq",  "ia",   "3fr",  "wmz",  "pict", "ari", "erf", "r3d", "pxn",
      "arw",  "raw1", "raw2", "rle",  "rdc",  "mrw",  "hdri", "dib",  "bmp", "bmq", "pic", "nef",
      "tif",  "ico",  "ppcd", "jpeg", "drf",  "fff",  "qtk",  "mdc",  "rw2", "dc2", "dsc", "emf",
      "psd",  "cr2",  "gif",  "rwl",  "mef",  "pcd",  "cap",  "emz",  "dcr", "sr2", "dcs", "rwz",
      "cine", "pcd1", "pct",  "pcx",  "jpe",  "cs1",  "jpg",  "orf",  "srf", "crw", "x3f", "k25",
      "dds",  "ptx",  "hdr",  "kc2",  "pcds", "jif",  "pef",  "mos",  "raf", "bay", "raw", "dng",
      "apm",  "sti",  "png",  "kdc",  "nrw",  "tiff", "targa"};
  const FormatRegistry registry;
  std::vector<std::string> actual;
  for (const InputFormat* f : registry.InputsInTableOrder()) actual.push_back(f->extension);
  EXPECT_EQ(actual, expected);
}

TEST(FormatRegistryTest, AcceptedInputExtensions) {
  const FormatRegistry registry;
  EXPECT_EQ(registry.AcceptedInputExtensions(), std::vector<std::string>{"png"});

  const std::map<std::vector<std::string>, std::vector<std::string>> cases = {
      {{"png"}, {"png"}},
      {{"jpg"}, {"jpeg", "jpe", "jpg", "jif"}},   // family members in table order
      {{"tiff", "png"}, {"tif", "tiff", "png"}},  // families in the enabled list's order
      {{"tif"}, {}},                              // a member is not a family
      {{"JPG"}, {}},                              // the family names compare exactly
      {{"xyz", "png"}, {"png"}},
      {{}, {}},
  };
  for (const auto& [enabled, accepted] : cases) {
    EXPECT_EQ(registry.AcceptedInputExtensions(enabled), accepted)
        << (enabled.empty() ? "" : enabled.front());
  }
  std::vector<std::string> raw = registry.AcceptedInputExtensions({"raw"});
  EXPECT_EQ(raw.size(), 48u);
}

TEST(FormatRegistryTest, DisplayText) {
  const FormatRegistry registry;
  EXPECT_EQ(FormatDisplayText("jpg"), "JPG");
  EXPECT_EQ(FormatDisplayText("tiff"), "TIFF");
  EXPECT_EQ(FormatDisplayText("jpg", registry.FindOutput("jpg")->description),
            "JPG (JPEG File Format)");
  EXPECT_EQ(FormatDisplayText("png", registry.FindInput("png")->description),
            "PNG (Portable Network Graphics)");
  EXPECT_EQ(FormatDisplayText("j2k", "JPEG-2000 Codestream"), "J2K (JPEG-2000 Codestream)");
}

}  // namespace
}  // namespace quill
