// The solid frame: band geometry with mitred corners, opacity, and the depth it leaves.
#include "engine/frame.h"

#include <gtest/gtest.h>

#include "engine/canvas.h"
#include "engine/colour.h"
#include "engine/test_images.h"

namespace quill {
namespace {

using testing::Colour;
using testing::MakeTestImage;
using testing::PatternImage;
using testing::PixelAt;
using testing::SamePixels;
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

// The frame drawn the plain way, as a layer the size of the whole image composited over it.
Image WholeLayerFrame(const Image& image, const Settings& s) {
  const double w = image.width(), h = image.height();
  const double l = s.solid_left, r = s.solid_right, t = s.solid_top, b = s.solid_bottom;
  const auto opaque = [](const std::string& text) {
    const Rgb rgb = ParseColour(text);
    return Rgba{rgb.red, rgb.green, rgb.blue, 255};
  };
  const Rgba lc = opaque(s.solid_left_color), rc = opaque(s.solid_right_color);
  const Rgba tc = opaque(s.solid_top_color), bc = opaque(s.solid_bottom_color);
  Canvas bands(image.width(), image.height());
  bands.FillRectangle(0, 0, l, t, tc);
  bands.FillRectangle(w - r, 0, r, t, rc);
  bands.FillRectangle(w - r, h - b, r, b, bc);
  bands.FillRectangle(0, h - b, l, b, lc);
  const Point top[] = {{0, 0}, {w, 0}, {w - r, t}, {l, t}};
  const Point right[] = {{w, 0}, {w, h}, {w - r, h - b}, {w - r, t}};
  const Point bottom[] = {{w, h}, {0, h}, {l, h - b}, {w - r, h - b}};
  const Point left[] = {{0, h}, {0, 0}, {l, t}, {l, h - b}};
  bands.FillPolygon(top, tc);
  bands.FillPolygon(right, rc);
  bands.FillPolygon(bottom, bc);
  bands.FillPolygon(left, lc);
  Canvas layer(image.width(), image.height());
  layer.Draw(bands, static_cast<uint8_t>(s.solid_opacity));
  return Image(FreeImage_Composite(layer.ToImage().get(), FALSE, nullptr, image.get()));
}

TEST(FrameTest, TheEdgeStripsMatchAFrameDrawnOverTheWholeImage) {
  const struct {
    int width, height, left, right, top, bottom, opacity;
  } cases[] = {
      {100, 80, 10, 10, 10, 10, 255}, {97, 61, 3, 17, 8, 1, 200},     {64, 48, 0, 20, 5, 0, 90},
      {50, 40, 30, 30, 25, 25, 255},  {52, 40, 60, 5, 50, 3, 128},    {33, 21, -5, 7, 4, -2, 255},
      {1, 1, 1, 1, 1, 1, 255},        {100, 80, 10, 10, 10, 10, 255},  // a size seen before
  };
  // One cache serves settings that do not change; here only the repeated size meets its
  // bands again, drawn with the same settings.
  DrawingCache cache;
  for (const auto& c : cases) {
    Settings settings = FrameSettings(c.left, c.right, c.top, c.bottom);
    settings.solid_opacity = c.opacity;
    const Image expected = WholeLayerFrame(PatternImage(c.width, c.height), settings);
    const Image framed = Frame(PatternImage(c.width, c.height), settings, c.width, c.height);
    EXPECT_TRUE(SamePixels(framed, expected)) << c.width << "x" << c.height << " " << c.left;
    // The cache keys by size: a size drawn before gives the same pixels.
    const Image cached =
        Frame(PatternImage(c.width, c.height), settings, c.width, c.height, &cache);
    EXPECT_TRUE(SamePixels(cached, expected)) << c.width << "x" << c.height << " " << c.left;
  }
}

TEST(FrameTest, TheImageKeepsItsResolutionCommentsAndColourProfile) {
  Image image = PatternImage(40, 30);
  FreeImage_SetDotsPerMeterX(image.get(), 11811);
  FreeImage_SetDotsPerMeterY(image.get(), 5905);
  testing::SetComment(image, "hello");
  char profile[128] = {1, 2, 3};
  FreeImage_CreateICCProfile(image.get(), profile, sizeof profile);
  const Image framed = Frame(std::move(image), FrameSettings(4, 4, 4, 4), 40, 30);
  ASSERT_TRUE(framed);
  EXPECT_EQ(FreeImage_GetDotsPerMeterX(framed.get()), 11811u);
  EXPECT_EQ(FreeImage_GetDotsPerMeterY(framed.get()), 5905u);
  EXPECT_EQ(FreeImage_GetMetadataCount(FIMD_COMMENTS, framed.get()), 1u);
  EXPECT_EQ(FreeImage_GetICCProfile(framed.get())->size, static_cast<long>(sizeof profile));
}

}  // namespace
}  // namespace quill
