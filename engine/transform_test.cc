// Rotation, resize and flip of the image.
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "engine/flip.h"
#include "engine/image_library.h"
#include "engine/resize.h"
#include "engine/rotate.h"
#include "engine/test_images.h"

namespace quill {
namespace {

using testing::Colour;
using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::MakeTestImage;
using testing::PixelAt;
using testing::TestKind;

class TransformTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseImageLibrary(); }
  void SetUp() override { ResetSettings(settings_, DefaultsFlavour::kConsole); }

  Settings settings_;
};

// A `width` x `height` image of one colour, 24 or 32 bits (opaque).
Image Filled(int width, int height, Colour colour, int bpp = 24) {
  Image image = bpp == 32 ? Image(FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK,
                                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK))
                          : Image(FreeImage_Allocate(width, height, bpp));
  const RGBQUAD quad{colour.blue, colour.green, colour.red, 255};
  FreeImage_FillBackground(image.get(), &quad, 0);
  return image;
}

// --- Rotation ---

class RotateTest : public TransformTest {
 protected:
  void SetRotation(int8_t type, int32_t angle, const char* back = "000000") {
    settings_.do_image_rotation = 1;
    settings_.image_rotation_type = type;
    settings_.transform_image_rotation = angle;
    settings_.image_rotation_back_color = back;
  }
};

TEST_F(RotateTest, QuarterTurnSwapsTheSidesAndTurnsAgainstTheClock) {
  SetRotation(0, 90);
  const Image turned = Rotate(MakeTestImage(TestKind::kRgb24, 640, 480), settings_);
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned.width(), 480);
  EXPECT_EQ(turned.height(), 640);
  EXPECT_EQ(turned.bpp(), 24);
  // The left (red) half ends at the bottom, the right (blue) half at the top.
  EXPECT_EQ(PixelAt(turned, 0, 0), kBlue);
  EXPECT_EQ(PixelAt(turned, 479, 0), kBlue);
  EXPECT_EQ(PixelAt(turned, 0, 639), kRed);
  EXPECT_EQ(PixelAt(turned, 479, 639), kRed);
}

TEST_F(RotateTest, SimpleRotationGrowsTheCanvasAndFillsTheCornersWithTheBackColour) {
  SetRotation(0, 45, "FF0000");
  for (const int bpp : {24, 32}) {
    const Image turned = Rotate(Filled(640, 480, kGreen, bpp), settings_);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned.bpp(), bpp);
    EXPECT_GT(turned.width(), 640);
    EXPECT_GT(turned.height(), 480);
    const unsigned right = static_cast<unsigned>(turned.width()) - 1;
    const unsigned bottom = static_cast<unsigned>(turned.height()) - 1;
    for (const auto& [x, y] : std::vector<std::pair<unsigned, unsigned>>{
             {0, 0}, {right, 0}, {0, bottom}, {right, bottom}}) {
      EXPECT_EQ(PixelAt(turned, x, y), kRed) << bpp << " bits at " << x << "," << y;
    }
    EXPECT_EQ(PixelAt(turned, right / 2, bottom / 2), kGreen) << bpp;
    if (bpp == 32) {
      // The back colour's fourth byte is 0: in a 32-bit image the corners are transparent.
      RGBQUAD corner{};
      FreeImage_GetPixelColor(turned.get(), 0, 0, &corner);
      EXPECT_EQ(corner.rgbReserved, 0);
      EXPECT_TRUE(FreeImage_IsTransparent(turned.get()));
    }
  }
}

TEST(TurnedSizeTest, ATurnThatWouldPassTheLimitsIsRefused) {
  const struct {
    int64_t width, height;
    int32_t angle;
    bool within;
  } cases[] = {
      {16384, 16384, 90, false},  // 2^28 pixels and the rounding pixel
      {16000, 16000, 90, true},  {16000, 16000, 45, false}, {11000, 11000, 30, true},
      {65000, 10, 0, true},      {65000, 10, 10, false},    {2, 2, 45, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TurnedSizeWithinLimits(c.width, c.height, c.angle), c.within)
        << c.width << " x " << c.height << " by " << c.angle;
  }
  // In the pipeline such a turn fails the file before anything is allocated.
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  settings.do_image_rotation = 1;
  settings.transform_image_rotation = 10;
  EXPECT_FALSE(Rotate(Image(FreeImage_Allocate(65000, 10, 24)), settings));
}

TEST_F(RotateTest, AdvancedRotationKeepsTheSize) {
  SetRotation(1, 45, "FF0000");
  const Image turned = Rotate(MakeTestImage(TestKind::kRgb24, 640, 480), settings_);
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned.width(), 640);
  EXPECT_EQ(turned.height(), 480);
  EXPECT_EQ(turned.bpp(), 24);
  // Turned about the centre: the pixel left of the centre now comes from below-left of it,
  // still red; the one right of it from above-right, still blue.
  EXPECT_EQ(PixelAt(turned, 200, 240), kRed);
  EXPECT_EQ(PixelAt(turned, 440, 240), kBlue);
  // Not the plain image: on the vertical centre line red lies below and blue above.
  EXPECT_EQ(PixelAt(turned, 320, 400), kRed);
  EXPECT_EQ(PixelAt(turned, 320, 80), kBlue);
}

TEST_F(RotateTest, NothingHappensOutsideTheOpenRangeOrWhenOff) {
  struct Case {
    int8_t on;
    int8_t type;
    int32_t angle;
  };
  for (const Case& c : {Case{1, 0, 0}, Case{1, 0, 360}, Case{1, 1, 360}, Case{1, 0, -90},
                        Case{1, 0, 450}, Case{0, 0, 90}}) {
    SetRotation(c.type, c.angle);
    settings_.do_image_rotation = c.on;
    Image image = MakeTestImage(TestKind::kGrey8);
    FIBITMAP* const handle = image.get();
    const Image result = Rotate(std::move(image), settings_);
    EXPECT_EQ(result.get(), handle) << c.angle;
    EXPECT_EQ(result.bpp(), 8) << c.angle;
  }
  SetRotation(0, 90);
  EXPECT_FALSE(Rotate(Image(), settings_));
}

TEST_F(RotateTest, OnlyTwentyFourAndThirtyTwoBitsAreRotatedAsTheyAre) {
  struct Case {
    TestKind kind;
    int32_t depth_after;
  };
  Image rgb565(FreeImage_ConvertTo16Bits565(MakeTestImage(TestKind::kRgb24).get()));
  for (const Case& c :
       {Case{TestKind::kBit1, 24}, Case{TestKind::kBit4, 24}, Case{TestKind::kPalette8Opaque, 24},
        Case{TestKind::kGrey8, 24}, Case{TestKind::kRgb16, 24}, Case{TestKind::kRgba16, 24},
        Case{TestKind::kRgb24, 24}, Case{TestKind::kRgba32Opaque, 32}}) {
    for (const int8_t type : {0, 1}) {
      SetRotation(type, 90);
      const Image turned = Rotate(MakeTestImage(c.kind), settings_);
      ASSERT_TRUE(turned);
      EXPECT_EQ(turned.bpp(), c.depth_after) << static_cast<int>(c.kind);
      EXPECT_EQ(turned.type(), FIT_BITMAP);
    }
  }
  SetRotation(0, 90);
  const Image turned = Rotate(std::move(rgb565), settings_);
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned.bpp(), 24);
  EXPECT_EQ(turned.width(), 48);
}

TEST_F(RotateTest, AnUnknownTypeOnlyWidens) {
  SetRotation(2, 90);
  Image colour = MakeTestImage(TestKind::kRgb24);
  FIBITMAP* const handle = colour.get();
  EXPECT_EQ(Rotate(std::move(colour), settings_).get(), handle);

  const Image widened = Rotate(MakeTestImage(TestKind::kPalette8Opaque), settings_);
  ASSERT_TRUE(widened);
  EXPECT_EQ(widened.bpp(), 24);
  EXPECT_EQ(widened.width(), 64);
  EXPECT_EQ(PixelAt(widened, 0, 0), kRed);
  EXPECT_EQ(PixelAt(widened, 63, 0), kGreen);
}

// --- Resize ---

class ResizeTest : public TransformTest {
 protected:
  struct Target {
    int32_t width;
    int8_t width_unit;
    int32_t height;
    int8_t height_unit;
    int8_t keep_aspect = 0;
    int8_t type = 0;
  };
  void SetTarget(const Target& t) {
    settings_.do_image_resize = 1;
    settings_.image_width = t.width;
    settings_.image_width_unit = t.width_unit;
    settings_.image_height = t.height;
    settings_.image_height_unit = t.height_unit;
    settings_.keep_aspect_ratio = t.keep_aspect;
    settings_.image_resize_type = t.type;
  }
  // An 8-bit image of the given size (its pixels do not matter here).
  static Image Blank(int width, int height) { return Image(FreeImage_Allocate(width, height, 8)); }
};

constexpr int8_t kPx = 0;
constexpr int8_t kPct = 1;

TEST_F(ResizeTest, NewSizes) {
  struct Case {
    int width, height;
    ResizeTest::Target target;
    int new_width, new_height;
  };
  const Case cases[] = {
      // Percent: halves go to the even neighbour (320.5, 240.5 and 961.5).
      {641, 481, {50, kPct, 50, kPct}, 320, 240},
      {641, 480, {150, kPct, 150, kPct}, 962, 720},
      // Each side has its own unit.
      {640, 480, {200, kPx, 50, kPct}, 200, 240},
      // Keep aspect: the longer side takes its target, the other target is not used.
      {1600, 1200, {800, kPx, 100, kPx, 1}, 800, 600},
      {1200, 1600, {800, kPx, 800, kPx, 1}, 600, 800},
      // ... and the other side's halves go away from zero (2.5 becomes 3).
      {400, 100, {10, kPx, 999, kPx, 1}, 10, 3},
      {100, 400, {999, kPx, 10, kPx, 1}, 3, 10},
      // Large images only: an image reaching the target in either direction is resized.
      {640, 700, {800, kPx, 600, kPx, 0, 1}, 800, 600},
      {800, 480, {800, kPx, 600, kPx, 0, 1}, 800, 600},
      {640, 700, {800, kPx, 600, kPx, 1, 1}, 549, 600},
  };
  for (const Case& c : cases) {
    SetTarget(c.target);
    const Image resized = Resize(Blank(c.width, c.height), settings_, c.width, c.height);
    ASSERT_TRUE(resized) << c.width << "x" << c.height;
    EXPECT_EQ(resized.width(), c.new_width) << c.width << "x" << c.height;
    EXPECT_EQ(resized.height(), c.new_height) << c.width << "x" << c.height;
  }
}

TEST_F(ResizeTest, ImagesLeftAsTheyAre) {
  struct Case {
    int width, height;
    ResizeTest::Target target;
    int8_t on = 1;
  };
  const Case cases[] = {
      {640, 480, {800, kPx, 600, kPx, 0, 1}},  // large images only, smaller both ways
      {640, 480, {640, kPx, 480, kPx}},        // already the target
      {640, 480, {100, kPct, 100, kPct}},     {640, 480, {0, kPx, 300, kPx}},  // no target
      {640, 480, {300, kPx, -5, kPx}},        {640, 480, {300, 2, 300, kPx}},  // unknown unit
      {640, 480, {300, kPx, 300, kPx}, 0},
  };
  for (const Case& c : cases) {
    SetTarget(c.target);
    settings_.do_image_resize = c.on;
    Image image = Blank(c.width, c.height);
    FIBITMAP* const handle = image.get();
    EXPECT_EQ(Resize(std::move(image), settings_, c.width, c.height).get(), handle)
        << c.target.width << "x" << c.target.height;
  }
  SetTarget({300, kPx, 300, kPx});
  EXPECT_FALSE(Resize(Image(), settings_, 640, 480));
}

TEST_F(ResizeTest, AbsurdSizesFailInsteadOfBeingAttempted) {
  struct Case {
    int width, height;
    ResizeTest::Target target;
  };
  const Case cases[] = {
      {100, 100, {70000, kPx, 10, kPx}},                // a side too long
      {100, 100, {10, kPx, 70000, kPx}},                //
      {100, 100, {20000, kPct, 20000, kPct}},           // 20000 x 20000 pixels
      {10, 1000, {10, kPx, 70000, kPx, 1}},             // kept in proportion: 700 x 70000
      {641, 481, {INT32_MAX, kPct, INT32_MAX, kPct}},   // far beyond any int
      {641, 481, {INT32_MAX, kPx, INT32_MAX, kPx, 1}},  //
  };
  for (const Case& c : cases) {
    SetTarget(c.target);
    EXPECT_FALSE(Resize(Blank(c.width, c.height), settings_, c.width, c.height))
        << c.target.width << "x" << c.target.height;
  }
}

TEST_F(ResizeTest, EachAlgorithmUsesItsFilter) {
  // A small picture with sharp edges, enlarged: every filter gives different pixels.
  Image source(FreeImage_Allocate(6, 5, 24));
  for (unsigned y = 0; y < 5; ++y) {
    for (unsigned x = 0; x < 6; ++x) {
      RGBQUAD q{static_cast<BYTE>((x * 97 + y * 31) % 256), static_cast<BYTE>((x * y * 53) % 256),
                static_cast<BYTE>(((x + y) % 2) * 255), 0};
      FreeImage_SetPixelColor(source.get(), x, y, &q);
    }
  }
  const auto pixels = [](const Image& image) {
    std::vector<BYTE> bytes;
    for (int y = 0; y < image.height(); ++y) {
      const BYTE* row = FreeImage_GetScanLine(image.get(), y);
      bytes.insert(bytes.end(), row, row + image.width() * 3);
    }
    return bytes;
  };
  const auto rescaled = [&](FREE_IMAGE_FILTER filter) {
    return pixels(Image(FreeImage_Rescale(source.get(), 17, 13, filter)));
  };
  ASSERT_TRUE(rescaled(FILTER_BILINEAR) != rescaled(FILTER_BICUBIC));

  struct Case {
    int8_t algorithm;
    FREE_IMAGE_FILTER filter;
  };
  for (const Case& c :
       {Case{0, FILTER_BOX}, Case{1, FILTER_BILINEAR}, Case{2, FILTER_BSPLINE},
        Case{3, FILTER_BICUBIC}, Case{4, FILTER_CATMULLROM}, Case{5, FILTER_LANCZOS3},
        Case{6, FILTER_BICUBIC}, Case{-1, FILTER_BICUBIC}}) {
    SetTarget({17, kPx, 13, kPx});
    settings_.image_resize_algorithm = c.algorithm;
    Image copy(FreeImage_Clone(source.get()));
    const Image resized = Resize(std::move(copy), settings_, 6, 5);
    ASSERT_TRUE(resized);
    EXPECT_TRUE(pixels(resized) == rescaled(c.filter)) << static_cast<int>(c.algorithm);
  }
}

// --- Flip ---

class FlipTest : public TransformTest {};

TEST_F(FlipTest, MirrorsInPlaceAndBothMakeAHalfTurn) {
  constexpr unsigned kWidth = 3, kHeight = 2;
  const auto colour_at = [](unsigned x, unsigned y) {
    return Colour{static_cast<BYTE>(40 + x * 60), static_cast<BYTE>(50 + y * 100), 7};
  };
  struct Case {
    int8_t horizontal, vertical;
    bool mirror_x, mirror_y;
  };
  for (const Case& c : {Case{0, 0, false, false}, Case{1, 0, true, false}, Case{0, 1, false, true},
                        Case{1, 1, true, true}}) {
    Image image(FreeImage_Allocate(kWidth, kHeight, 24));
    for (unsigned y = 0; y < kHeight; ++y) {
      for (unsigned x = 0; x < kWidth; ++x) {
        const Colour colour = colour_at(x, y);
        RGBQUAD q{colour.blue, colour.green, colour.red, 0};
        FreeImage_SetPixelColor(image.get(), x, kHeight - 1 - y, &q);
      }
    }
    settings_.do_image_flip_horizontal = c.horizontal;
    settings_.do_image_flip_vertical = c.vertical;
    FIBITMAP* const handle = image.get();
    const Image flipped = Flip(std::move(image), settings_);
    ASSERT_EQ(flipped.get(), handle);
    for (unsigned y = 0; y < kHeight; ++y) {
      for (unsigned x = 0; x < kWidth; ++x) {
        const unsigned from_x = c.mirror_x ? kWidth - 1 - x : x;
        const unsigned from_y = c.mirror_y ? kHeight - 1 - y : y;
        EXPECT_EQ(PixelAt(flipped, x, y), colour_at(from_x, from_y))
            << int{c.horizontal} << int{c.vertical} << " at " << x << "," << y;
      }
    }
  }
  settings_.do_image_flip_horizontal = 1;
  EXPECT_FALSE(Flip(Image(), settings_));
}

}  // namespace
}  // namespace quill
