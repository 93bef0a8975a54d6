// The watermark font: when one can be made, its pixel height, and measuring that matches the
// drawing.
#include "engine/watermark_font.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include "platform/posix/test_util.h"
#include "settings/settings.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

TEST(WatermarkFontTest, MadeFromAnyFamilyWithAPositiveSize) {
  const struct {
    const char* family;
    int size;
    bool made;
    int pixel_height;
  } cases[] = {
      {"Arial", 14, true, 19},  // round(14 x 96 / 72) = round(18.67)
      {"Arial", 12, true, 16},
      {"Arial", 1, true, 1},
      {"No Such Family At All", 14, true, 19},  // fontconfig finds a substitute
      {"", 14, false, 0},
      {"Arial", 0, false, 0},
      {"Arial", -5, false, 0},
      {"Arial", 30000, false, 0},  // taller than any canvas
  };
  for (const auto& c : cases) {
    const auto font = WatermarkFont::Create(c.family, c.size, 0, 0);
    ASSERT_EQ(font != nullptr, c.made) << c.family << " " << c.size;
    if (font) {
      EXPECT_EQ(font->pixel_height(), c.pixel_height) << c.size;
      EXPECT_FALSE(font->ResolvedFamily().empty());
    }
  }
}

TEST(WatermarkFontTest, NoFontWithoutAnyFaceOnTheSystem) {
  testing::TempFolder folder;
  const std::string config = folder / "fonts.conf";
  testing::WriteFile(config, "<?xml version=\"1.0\"?><fontconfig><cachedir>" + folder.path() +
                                 "</cachedir></fontconfig>");
  // Fontconfig's configuration is the process's, so the test changes it in a child.
  const auto child = platform::testing::RunInChild([&] {
    setenv("FONTCONFIG_FILE", config.c_str(), 1);
    FcInitReinitialize();
    return WatermarkFont::Create("Arial", 14, 0, 0) == nullptr ? 0 : 1;
  });
  EXPECT_EQ(child.exit_code, 0) << child.err;
}

TEST(WatermarkFontTest, MeasuresLinesAsTheyAreDrawn) {
  const auto regular = WatermarkFont::Create("Arial", 14, 0, 0);
  const auto bold = WatermarkFont::Create("Arial", 14, 1, 0);
  ASSERT_TRUE(regular && bold);
  const WatermarkFont::Extent word = regular->Measure("Hello", true);
  const WatermarkFont::Extent longer = regular->Measure("Hello, world", true);
  const WatermarkFont::Extent empty = regular->Measure("", true);
  EXPECT_GT(word.width, 20);
  EXPECT_GT(longer.width, word.width);
  EXPECT_GE(word.height, 19);
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height, word.height);
  EXPECT_GT(bold->Measure("Hello, world", true).width, longer.width);
  // Invalid UTF-8 is measured (and drawn) with replacement characters, not cut short.
  EXPECT_GT(regular
                ->Measure("ab\xFF\xFE"
                          "cd",
                          false)
                .width,
            regular->Measure("abcd", false).width);

  // The ink stays inside the measured box.
  Canvas canvas(longer.width + 20, longer.height + 20);
  regular->Draw(canvas, "Hello, world", 10, 10, Rgba{0, 0, 0, 255}, false);
  const Image image = canvas.ToImage();
  int inked_left = 1 << 30, inked_right = -1, inked_top = 1 << 30, inked_bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const BYTE* row = FreeImage_GetScanLine(image.get(), image.height() - 1 - y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[4 * x + FI_RGBA_ALPHA] != 0) {
        inked_left = std::min(inked_left, x);
        inked_right = std::max(inked_right, x);
        inked_top = std::min(inked_top, y);
        inked_bottom = std::max(inked_bottom, y);
      }
    }
  }
  ASSERT_GE(inked_right, 0) << "nothing was drawn";
  EXPECT_GE(inked_left, 10);
  EXPECT_LT(inked_right, 10 + longer.width);
  EXPECT_GE(inked_top, 10);
  EXPECT_LT(inked_bottom, 10 + longer.height);
}

TEST(WatermarkFontTest, TheRunsFontLivesWithItsScope) {
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  EXPECT_EQ(CurrentWatermarkFont(), nullptr);
  {
    const ScopedWatermarkFont font(settings);
    ASSERT_TRUE(font.loaded());
    EXPECT_EQ(CurrentWatermarkFont()->pixel_height(), 19);
  }
  EXPECT_EQ(CurrentWatermarkFont(), nullptr);
  settings.font.clear();
  const ScopedWatermarkFont none(settings);
  EXPECT_FALSE(none.loaded());
}

}  // namespace
}  // namespace quill
