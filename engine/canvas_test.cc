// Canvases reach the library with the pixels that a PNG of the surface would give.
#include "engine/canvas.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace quill {
namespace {

TEST(CanvasTest, ToImageGivesThePixelsOfAPngRoundTrip) {
  // Every alpha level and a spread of colours, blended so that premultiplication rounds.
  Canvas canvas(256, 8);
  ASSERT_TRUE(canvas.valid());
  for (int a = 0; a < 256; ++a) {
    const Rgba colour{static_cast<uint8_t>(a * 7), static_cast<uint8_t>(255 - a),
                      static_cast<uint8_t>(a * 13), static_cast<uint8_t>(a)};
    canvas.FillRectangle(a, 0, 1, 8, colour);
  }
  const Point triangle[] = {{0, 0}, {256, 8}, {0, 8}};
  Canvas over(256, 8);
  over.FillPolygon(triangle, Rgba{10, 200, 90, 255});
  canvas.Draw(over, 77);

  testing::TempFolder folder;
  const std::string png = folder / "canvas.png";
  ASSERT_EQ(cairo_surface_write_to_png(canvas.surface(), png.c_str()), CAIRO_STATUS_SUCCESS);
  const Image expected(FreeImage_Load(FIF_PNG, png.c_str(), 0));
  const Image image = canvas.ToImage();
  ASSERT_TRUE(image);
  ASSERT_EQ(image.bpp(), 32);
  ASSERT_EQ(FreeImage_GetBPP(expected.get()), 32u);
  for (int y = 0; y < 8; ++y) {
    const BYTE* a = FreeImage_GetScanLine(image.get(), y);
    const BYTE* b = FreeImage_GetScanLine(expected.get(), y);
    for (int i = 0; i < 256 * 4; ++i) {
      // A fully transparent pixel's colour means nothing; the PNG writer keeps it black too.
      ASSERT_EQ(a[i], b[i]) << "row " << y << " byte " << i;
    }
  }
}

TEST(CanvasTest, EmptyAndHugeCanvasesAreNotMade) {
  const struct {
    int width, height;
    bool valid;
  } cases[] = {{0, 10, false},        {10, -1, false},  {32768, 1, false},
               {20000, 20000, false}, {32767, 1, true}, {1, 1, true}};
  for (const auto& c : cases) {
    const Canvas canvas(c.width, c.height);
    EXPECT_EQ(canvas.valid(), c.valid) << c.width << " x " << c.height;
    EXPECT_EQ(static_cast<bool>(canvas.ToImage()), c.valid);
  }
}

}  // namespace
}  // namespace quill
