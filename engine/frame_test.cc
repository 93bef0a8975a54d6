// The solid frame: band geometry with mitred corners, opacity, and the depth it leaves.
#include "engine/frame.h"

#include <gtest/gtest.h>

#include "engine/test_images.h"

namespace quill {
namespace {

using testing::Colour;
using testing::MakeTestImage;
using testing::PixelAt;
using testing::TestKind;

// A white 24-bit image.
Image White(unsigned width, unsigned height) {
  Image image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24));
  const RGBQUAD white{255, 255, 255, 0};
  FreeImage_FillBackground(image.get(), &white);
  return image;
}

Settings FrameSettings(int left, int right, int top, int bottom) {
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  settings.do_frame = 1;
  settings.solid_left = left;
  settings.solid_right = right;
  settings.solid_top = top;
  settings.solid_bottom = bottom;
  settings.solid_left_color = "FF0000";
  settings.solid_right_color = "00FF00";
  settings.solid_top_color = "0000FF";
  settings.solid_bottom_color = "FFFF00";
  return settings;
}

constexpr Colour kLeft{255, 0, 0}, kRight{0, 255, 0}, kTop{0, 0, 255}, kBottom{255, 255, 0};
constexpr Colour kWhite{255, 255, 255};

TEST(FrameTest, BandsMeetInMitredCorners) {
  const Image framed = Frame(White(100, 80), FrameSettings(10, 10, 10, 10), 100, 80);
  ASSERT_TRUE(framed);
  EXPECT_EQ(framed.bpp(), 24);
  const struct {
    unsigned x, y;
    Colour colour;
  } cases[] = {
      {5, 40, kLeft},   {50, 5, kTop},     {95, 40, kRight}, {50, 75, kBottom}, {2, 8, kLeft},
      {8, 2, kTop},     {97, 8, kRight},   {92, 2, kTop},    {2, 72, kLeft},    {8, 77, kBottom},
      {97, 72, kRight}, {92, 77, kBottom}, {10, 10, kWhite}, {50, 40, kWhite},  {89, 69, kWhite},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PixelAt(framed, c.x, c.y), c.colour) << c.x << ", " << c.y;
  }
}

TEST(FrameTest, AnEmptyBandLetsTheOthersRunToTheEdge) {
  const Image framed = Frame(White(100, 80), FrameSettings(20, 20, 0, 20), 100, 80);
  for (unsigned x : {0u, 10u, 19u}) EXPECT_EQ(PixelAt(framed, x, 0), kLeft) << x;
  for (unsigned x : {80u, 90u, 99u}) EXPECT_EQ(PixelAt(framed, x, 0), kRight) << x;
  EXPECT_EQ(PixelAt(framed, 50, 0), kWhite);
  EXPECT_EQ(PixelAt(framed, 50, 70), kBottom);
}

TEST(FrameTest, OneOpacityForTheWholeFrame) {
  Settings settings = FrameSettings(10, 10, 10, 10);
  settings.solid_left_color = settings.solid_right_color = settings.solid_top_color =
      settings.solid_bottom_color = "000000";
  settings.solid_opacity = 128;
  const Image framed = Frame(White(100, 80), settings, 100, 80);
  // Black at 128 of 255 over white: half of it, the library's compositing truncating.
  for (const auto& [x, y] : {std::pair{5u, 40u}, {50u, 5u}, {3u, 3u}, {96u, 76u}}) {
    const Colour c = PixelAt(framed, x, y);
    EXPECT_NEAR(c.red, 127, 1) << x << ", " << y;
    EXPECT_EQ(c.red, c.green);
    EXPECT_EQ(c.red, c.blue);
  }
  EXPECT_EQ(PixelAt(framed, 50, 40), kWhite);
}

TEST(FrameTest, OffOrEmptyFramesOnlyWidenTheDepth) {
  Settings off = FrameSettings(10, 10, 10, 10);
  off.do_frame = 0;
  EXPECT_EQ(Frame(MakeTestImage(TestKind::kGrey8), off, 64, 48).bpp(), 8);
  const Image empty = Frame(MakeTestImage(TestKind::kGrey8), FrameSettings(0, 0, 0, 0), 64, 48);
  EXPECT_EQ(empty.bpp(), 24);
  EXPECT_EQ(PixelAt(empty, 63, 20), kWhite);
  EXPECT_EQ(PixelAt(empty, 0, 20), (Colour{0, 0, 0}));
  Settings unknown = FrameSettings(10, 10, 10, 10);
  unknown.do_frame = 5;
  const Image widened = Frame(MakeTestImage(TestKind::kGrey8), unknown, 64, 48);
  EXPECT_EQ(widened.bpp(), 24);
  EXPECT_EQ(PixelAt(widened, 63, 20), kWhite);
  EXPECT_FALSE(Frame(Image(), FrameSettings(1, 1, 1, 1), 64, 48));
}

}  // namespace
}  // namespace quill
