// Colour correction, greyscale and threshold.
#include "engine/adjust_colors.h"

#include <gtest/gtest.h>

#include "engine/greyscale.h"
#include "engine/image_library.h"
#include "engine/test_images.h"
#include "engine/threshold.h"

namespace quill {
namespace {

using testing::Colour;
using testing::kWhite;
using testing::MakeTestImage;
using testing::PixelAt;
using testing::TestKind;

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kCyan{0, 255, 255};
constexpr Colour kYellow{255, 255, 0};

class ColourStepTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseImageLibrary(); }
  void SetUp() override { ResetSettings(settings_, DefaultsFlavour::kConsole); }

  Settings settings_;
};

using AdjustColorsTest = ColourStepTest;
using GreyscaleTest = ColourStepTest;
using ThresholdTest = ColourStepTest;

// A 24-bit image of one grey level.
Image GreyPicture(BYTE level) {
  Image image(FreeImage_Allocate(8, 6, 24));
  const RGBQUAD quad{level, level, level, 0};
  FreeImage_FillBackground(image.get(), &quad, 0);
  return image;
}

TEST_F(AdjustColorsTest, NarrowAndWideImagesAreAdjustedAtTwentyFourBitsTheOthersAsTheyAre) {
  struct Case {
    TestKind kind;
    int32_t depth_after;
    bool same_image;
    Colour left, right;  // after inverting
  };
  const Case cases[] = {
      {TestKind::kBit1, 24, false, kWhite, kBlack},
      {TestKind::kBit4, 24, false, kCyan, kYellow},
      {TestKind::kPalette8Opaque, 8, true, kCyan, {255, 95, 255}},
      {TestKind::kRgb24, 24, true, kCyan, kYellow},
      {TestKind::kRgba32Opaque, 32, true, kCyan, kYellow},
      {TestKind::kRgb16, 24, false, {}, {}},  // tone levels differ; only the depth is checked
  };
  for (const bool invert : {false, true}) {
    settings_.do_image_color_correction = 1;
    settings_.image_invert = invert ? 1 : 0;
    for (const Case& c : cases) {
      const int kind = static_cast<int>(c.kind);
      Image image = MakeTestImage(c.kind);
      const Colour left = image.bpp() <= 32 ? PixelAt(image, 0, 0) : Colour{};
      const Colour right = image.bpp() <= 32 ? PixelAt(image, 63, 47) : Colour{};
      FIBITMAP* const handle = image.get();
      const Image adjusted = AdjustColors(std::move(image), settings_);
      ASSERT_TRUE(adjusted) << kind;
      EXPECT_EQ(adjusted.bpp(), c.depth_after) << kind;
      EXPECT_EQ(adjusted.get() == handle, c.same_image) << kind;
      if (c.kind == TestKind::kRgb16) continue;
      // Without inversion (and the neutral other values) the colours stay as they were.
      EXPECT_EQ(PixelAt(adjusted, 0, 0), invert ? c.left : left) << kind;
      EXPECT_EQ(PixelAt(adjusted, 63, 47), invert ? c.right : right) << kind;
    }
  }
}

TEST_F(AdjustColorsTest, BrightnessContrastAndGammaReachTheLibrary) {
  struct Case {
    int32_t brightness, contrast;
    float gamma;
    int8_t invert;
    BYTE from, to;
  };
  const Case cases[] = {
      {0, 0, 1.0f, 0, 100, 100},    {50, 0, 1.0f, 0, 100, 150}, {-100, 0, 1.0f, 0, 100, 0},
      {0, -100, 1.0f, 0, 100, 128}, {0, 0, 2.0f, 0, 100, 160},  {0, 0, 0.5f, 0, 100, 39},
      {0, 0, 1.0f, 1, 100, 155},
  };
  settings_.do_image_color_correction = 1;
  for (const Case& c : cases) {
    settings_.image_brightness = c.brightness;
    settings_.image_contrast = c.contrast;
    settings_.image_gamma = c.gamma;
    settings_.image_invert = c.invert;
    const Image adjusted = AdjustColors(GreyPicture(c.from), settings_);
    ASSERT_TRUE(adjusted);
    EXPECT_TRUE(testing::Near(PixelAt(adjusted, 3, 2), {c.to, c.to, c.to}, 1))
        << c.brightness << " " << c.contrast << " " << c.gamma << " -> "
        << int{PixelAt(adjusted, 3, 2).red};
  }
}

TEST_F(AdjustColorsTest, OffOrNoImageChangesNothing) {
  settings_.image_invert = 1;
  settings_.image_brightness = 50;
  Image image = MakeTestImage(TestKind::kBit1);
  FIBITMAP* const handle = image.get();
  const Image same = AdjustColors(std::move(image), settings_);
  EXPECT_EQ(same.get(), handle);
  EXPECT_EQ(PixelAt(same, 0, 0), kBlack);
  settings_.do_image_color_correction = 1;
  EXPECT_FALSE(AdjustColors(Image(), settings_));
}

TEST_F(GreyscaleTest, EveryDepthBecomesEightBitGrey) {
  settings_.do_image_greyscale = 1;
  for (const TestKind kind :
       {TestKind::kBit1, TestKind::kBit4, TestKind::kPalette8Opaque, TestKind::kGrey8,
        TestKind::kRgb24, TestKind::kRgba32Opaque, TestKind::kRgb16, TestKind::kRgba16}) {
    const Image grey = Greyscale(MakeTestImage(kind), settings_);
    ASSERT_TRUE(grey) << static_cast<int>(kind);
    EXPECT_EQ(grey.bpp(), 8) << static_cast<int>(kind);
    EXPECT_EQ(FreeImage_GetColorType(grey.get()), FIC_MINISBLACK) << static_cast<int>(kind);
    const Colour left = PixelAt(grey, 0, 0);
    const Colour right = PixelAt(grey, 63, 0);
    EXPECT_EQ(left.red, left.green);
    EXPECT_EQ(left.red, left.blue);
    EXPECT_NE(left, right) << static_cast<int>(kind);
  }
}

TEST_F(GreyscaleTest, OffOrNoImageChangesNothing) {
  Image image = MakeTestImage(TestKind::kRgb24);
  FIBITMAP* const handle = image.get();
  EXPECT_EQ(Greyscale(std::move(image), settings_).get(), handle);
  settings_.do_image_greyscale = 1;
  EXPECT_FALSE(Greyscale(Image(), settings_));
}

TEST_F(ThresholdTest, PixelsAtOrAboveTheLevelTurnWhiteTheRestBlack) {
  // The grey ramp: x = 31 is 125, x = 32 is 129, x = 62 is 250, x = 63 is 255.
  struct Case {
    int32_t level;
    Colour at0, at31, at32, at62, at63;
  };
  const Case cases[] = {
      {128, kBlack, kBlack, kWhite, kWhite, kWhite},
      {384, kBlack, kBlack, kWhite, kWhite, kWhite},  // only the low byte counts
      {255, kBlack, kBlack, kBlack, kBlack, kWhite},
      {256, kWhite, kWhite, kWhite, kWhite, kWhite},  // level 0
  };
  settings_.do_image_threshold = 1;
  for (const Case& c : cases) {
    settings_.image_threshold = c.level;
    const Image bw = Threshold(MakeTestImage(TestKind::kGrey8), settings_);
    ASSERT_TRUE(bw);
    EXPECT_EQ(bw.bpp(), 1);
    EXPECT_EQ(PixelAt(bw, 0, 0), c.at0) << c.level;
    EXPECT_EQ(PixelAt(bw, 31, 0), c.at31) << c.level;
    EXPECT_EQ(PixelAt(bw, 32, 0), c.at32) << c.level;
    EXPECT_EQ(PixelAt(bw, 62, 0), c.at62) << c.level;
    EXPECT_EQ(PixelAt(bw, 63, 0), c.at63) << c.level;
  }
}

TEST_F(ThresholdTest, EveryDepthBecomesOneBit) {
  settings_.do_image_threshold = 1;
  settings_.image_threshold = 128;
  for (const TestKind kind :
       {TestKind::kBit1, TestKind::kBit4, TestKind::kPalette8Opaque, TestKind::kRgb24,
        TestKind::kRgba32Opaque, TestKind::kRgb16, TestKind::kRgba16}) {
    const Image bw = Threshold(MakeTestImage(kind), settings_);
    ASSERT_TRUE(bw) << static_cast<int>(kind);
    EXPECT_EQ(bw.bpp(), 1) << static_cast<int>(kind);
  }
  // Red and blue are both darker than the middle grey.
  const Image bw = Threshold(MakeTestImage(TestKind::kRgb24), settings_);
  EXPECT_EQ(PixelAt(bw, 0, 0), kBlack);
  EXPECT_EQ(PixelAt(bw, 63, 0), kBlack);
}

TEST_F(ThresholdTest, OffOrNoImageChangesNothing) {
  Image image = MakeTestImage(TestKind::kRgb24);
  FIBITMAP* const handle = image.get();
  EXPECT_EQ(Threshold(std::move(image), settings_).get(), handle);
  settings_.do_image_threshold = 1;
  EXPECT_FALSE(Threshold(Image(), settings_));
}

}  // namespace
}  // namespace quill
