// The save flags of every output format, against the numbers the library documents.
#include "engine/save_flags.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace quill {
namespace {

struct FlagCase {
  const char* extension;
  std::function<void(Settings&)> set;
  int32_t flags;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.extension << " -> " << c.flags; }

class SaveFlagsTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(SaveFlagsTest, CombinesTheFormatsSettings) {
  Settings settings;  // every option 0 unless the case sets it
  GetParam().set(settings);
  EXPECT_EQ(SaveFlags(GetParam().extension, settings), GetParam().flags);
}

auto None = [](Settings&) {};

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, SaveFlagsTest,
    ::testing::Values(
        FlagCase{"bmp", None, 0}, FlagCase{"bmp", [](Settings& s) { s.bmp_compression = 1; }, 1},
        FlagCase{"bmp", [](Settings& s) { s.bmp_compression = 2; }, 0}, FlagCase{"exr", None, 2},
        FlagCase{"exr", [](Settings& s) { s.exr_compression = 1; }, 4},
        FlagCase{"exr", [](Settings& s) { s.exr_compression = 2; }, 8},
        FlagCase{"exr", [](Settings& s) { s.exr_compression = 3; }, 16},
        FlagCase{"exr", [](Settings& s) { s.exr_compression = 4; }, 32},
        FlagCase{"exr", [](Settings& s) { s.exr_compression = 5; }, 0},
        // Quality itself, or the subsampling, or the coding.
        FlagCase{"jpg", [](Settings& s) { s.jpg_quality = 95; }, 0x1005F},
        FlagCase{"jpg",
                 [](Settings& s) {
                   s.jpg_quality = 80;
                   s.jpg_chroma = 2;
                   s.jpg_save_as = 3;
                 },
                 0x6050},
        FlagCase{"jpg",
                 [](Settings& s) {
                   s.jpg_quality = 75;
                   s.jpg_chroma = 1;
                   s.jpg_save_as = 1;
                 },
                 75 | 0x8000 | 0x40000},
        FlagCase{"jpg",
                 [](Settings& s) {
                   s.jpg_quality = 100;
                   s.jpg_chroma = 3;
                   s.jpg_save_as = 2;
                 },
                 100 | 0x1000 | 0x20000},
        FlagCase{"jpg",
                 [](Settings& s) {
                   s.jpg_quality = 50;
                   s.jpg_chroma = 4;
                   s.jpg_save_as = -1;
                 },
                 50},
        FlagCase{"jxr", None, 100}, FlagCase{"png", None, 0x100},
        FlagCase{"png", [](Settings& s) { s.png_compression = 1; }, 1},
        FlagCase{"png", [](Settings& s) { s.png_compression = 2; }, 6},
        FlagCase{"png",
                 [](Settings& s) {
                   s.png_compression = 3;
                   s.png_interlaced = 1;
                 },
                 0x209},
        FlagCase{"png",
                 [](Settings& s) {
                   s.png_compression = 9;
                   s.png_interlaced = 1;
                 },
                 0x200},
        FlagCase{"tga", None, 0}, FlagCase{"tga", [](Settings& s) { s.tga_compression = 1; }, 2},
        FlagCase{"tiff", None, 0x800},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 1; }, 0x1000},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 2; }, 0x2000},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 3; }, 0x100},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 4; }, 0x200},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 5; }, 0x400},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 7; }, 0x8000},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 8; }, 0x10000},
        FlagCase{"tiff",
                 [](Settings& s) {
                   s.tiff_compression = 6;
                   s.tiff_color_model = 1;
                 },
                 0x4001},
        FlagCase{"tiff", [](Settings& s) { s.tiff_color_model = 2; }, 0x800},
        FlagCase{"tiff", [](Settings& s) { s.tiff_compression = 9; }, 0},
        FlagCase{"webp", None, 0x100}));

TEST(SaveFlags, FormatsWithoutSaveOptionsGetNothing) {
  // Every setting that gives flags to some format is set, so a rule that leaks into another
  // format shows here.
  Settings settings;
  settings.bmp_compression = 1;
  settings.exr_compression = 1;
  settings.jpg_quality = 90;
  settings.jpg_chroma = 1;
  settings.jpg_save_as = 3;
  settings.png_compression = 3;
  settings.png_interlaced = 1;
  settings.tga_compression = 1;
  settings.tiff_compression = 6;
  settings.tiff_color_model = 1;
  for (const char* extension : {"dds", "gif", "hdr", "ico", "j2k", "jng", "jp2", "pbm", "pcx",
                                "pfm", "pgm", "ppm", "psd", "wbmp", "xpm", "unknown", ""}) {
    EXPECT_EQ(SaveFlags(extension, settings), 0) << extension;
  }
}

TEST(SaveFlags, ConsoleDefaultsGiveQuality95At444) {
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  EXPECT_EQ(SaveFlags("jpg", settings), 95 | 0x10000);
}

}  // namespace
}  // namespace quill
