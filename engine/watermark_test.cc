// The watermark step: placement by anchor, area and crop; the text block's size, lines and
// opacities; the picture's opacity and grey; and the cases that leave the image without one.
#include "engine/watermark.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>

#include "engine/test_images.h"
#include "engine/watermark_font.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

using testing::Colour;
using testing::PatternImage;
using testing::PixelAt;
using testing::SamePixels;

constexpr Colour kRed{255, 0, 0};
constexpr Colour kWhite{255, 255, 255};

TEST(WatermarkTest, PlacementByAnchorOffsetsAndCrop) {
  const struct {
    int position;
    int64_t x_offset, y_offset, area_width, area_height, width, height;
    WatermarkPlacement place;
  } cases[] = {
      {8, 10, 10, 640, 480, 110, 26, {520, 444, 110, 26, false}},
      {4, 10, 10, 640, 480, 111, 26, {264, 227, 111, 26, false}},  // halves drop
      {0, 10, 10, 640, 480, 110, 26, {10, 10, 110, 26, false}},
      {1, 10, 7, 640, 480, 110, 26, {265, 7, 110, 26, false}},
      {2, 10, 7, 640, 480, 110, 26, {520, 7, 110, 26, false}},
      {3, 4, 10, 640, 480, 110, 26, {4, 227, 110, 26, false}},
      {5, 4, 10, 640, 480, 110, 26, {526, 227, 110, 26, false}},
      {6, 4, 3, 640, 480, 110, 26, {4, 451, 110, 26, false}},
      {7, 4, 3, 640, 480, 110, 26, {265, 451, 110, 26, false}},
      {9, 10, 10, 640, 480, 110, 26, {0, 0, 110, 26, false}},  // no such anchor
      // Wider than the area beside the offset: cut to 630, the left part kept.
      {0, 10, 10, 640, 480, 700, 26, {10, 10, 630, 26, true}},
      {8, 10, 10, 640, 480, 700, 500, {0, 0, 630, 470, true}},
      // A centred watermark wider than the area gets a negative position (not pasted).
      {4, 0, 0, 100, 80, 101, 20, {0, 30, 100, 20, true}},
      {1, 0, 0, 100, 80, 90, 20, {5, 0, 90, 20, false}},
      // Offsets at the ends of 32 bits neither wrap nor place anything inside the image.
      {8, INT32_MIN, INT32_MIN, 640, 480, 110, 26, {2147484178, 2147484102, 110, 26, false}},
      {0, INT32_MAX, 0, 640, 480, 110, 26, {INT32_MAX, 0, 640 - int64_t{INT32_MAX}, 26, true}},
  };
  for (const auto& c : cases) {
    const WatermarkPlacement p = PlaceWatermark(c.position, c.x_offset, c.y_offset, c.area_width,
                                                c.area_height, c.width, c.height);
    EXPECT_EQ(p.x, c.place.x) << c.position << " " << c.width;
    EXPECT_EQ(p.y, c.place.y) << c.position << " " << c.width;
    EXPECT_EQ(p.width, c.place.width) << c.position << " " << c.width;
    EXPECT_EQ(p.height, c.place.height) << c.position << " " << c.width;
    EXPECT_EQ(p.cropped, c.place.cropped) << c.position << " " << c.width;
  }
}

class WatermarkStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings(settings_, DefaultsFlavour::kConsole);
    job_.current_input_path = folder_ / "holiday.png";
    job_.conversion_type = "jpg";
    job_.image_width = 100;
    job_.image_height = 80;
  }

  // A white 100 x 80 image.
  static Image White() {
    Image image(FreeImage_Allocate(100, 80, 24));
    const RGBQUAD white{255, 255, 255, 0};
    FreeImage_FillBackground(image.get(), &white);
    return image;
  }

  // A picture watermark of `width` x `height` in one colour, saved in `format`.
  std::string Picture(unsigned width, unsigned height, Colour colour,
                      FREE_IMAGE_FORMAT format = FIF_PNG, const char* name = "mark.png") {
    Image picture(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24));
    const RGBQUAD quad{colour.blue, colour.green, colour.red, 0};
    FreeImage_FillBackground(picture.get(), &quad);
    if (format == FIF_GIF) picture = Image(FreeImage_ConvertTo8Bits(picture.get()));
    const std::string path = folder_ / name;
    EXPECT_TRUE(FreeImage_Save(format, picture.get(), path.c_str(), 0));
    return path;
  }

  // The box of pixels that differ from white.
  struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  };
  static Box Marked(const Image& image) {
    Box box;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (PixelAt(image, x, y) != kWhite) {
          box.left = std::min(box.left, x);
          box.right = std::max(box.right, x);
          box.top = std::min(box.top, y);
          box.bottom = std::max(box.bottom, y);
        }
      }
    }
    return box;
  }

  testing::TempFolder folder_;
  Settings settings_;
  JobState job_;
};

TEST_F(WatermarkStepTest, APictureLandsAtItsAnchorInsideTheFrameAndTurned) {
  settings_.do_watermark = 2;
  settings_.image = Picture(16, 8, kRed);
  const struct {
    int position, boundary, rotation;
    int8_t frame;
    Box box;
  } cases[] = {
      {0, 0, 0, 0, {10, 10, 25, 17}},
      {8, 0, 0, 0, {74, 62, 89, 69}},
      {0, 1, 0, 1, {30, 30, 45, 37}},  // inside a frame of 20 on every side
      {0, 1, 0, 0, {10, 10, 25, 17}},  // no frame: the boundary changes nothing
      {8, 1, 0, 1, {54, 42, 69, 49}},
      {8, 0, 90, 0, {82, 54, 89, 69}},  // turned: 8 x 16 for the anchor
  };
  for (const auto& c : cases) {
    settings_.image_position = static_cast<int8_t>(c.position);
    settings_.image_boundary = static_cast<int8_t>(c.boundary);
    settings_.watermark_image_rotation = c.rotation;
    settings_.do_frame = c.frame;
    settings_.solid_left = settings_.solid_right = settings_.solid_top = settings_.solid_bottom =
        20;
    const Image marked = Watermark(White(), settings_, job_);
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked.bpp(), 24);
    const Box box = Marked(marked);
    EXPECT_EQ(box.left, c.box.left) << c.position << "/" << c.boundary << "/" << c.rotation;
    EXPECT_EQ(box.top, c.box.top) << c.position << "/" << c.boundary << "/" << c.rotation;
    EXPECT_EQ(box.right, c.box.right) << c.position << "/" << c.boundary << "/" << c.rotation;
    EXPECT_EQ(box.bottom, c.box.bottom) << c.position << "/" << c.boundary << "/" << c.rotation;
    // Pasting at full strength costs the library's 255/256.
    const Colour inside = PixelAt(marked, c.box.left + 2, c.box.top + 2);
    EXPECT_GE(inside.red, 253);
    EXPECT_LE(inside.green, 2);
  }
}

TEST_F(WatermarkStepTest, WhatDoesNotFitLeavesTheImageWithoutAWatermark) {
  settings_.do_watermark = 2;
  settings_.image = Picture(120, 8, kRed);
  settings_.image_position = 0;  // reaching out of the image to the left: not pasted
  settings_.image_x_offset = -20;
  Image marked = Watermark(White(), settings_, job_);
  ASSERT_TRUE(marked);
  EXPECT_EQ(Marked(marked).right, -1);

  settings_.image_position = 0;  // an offset as large as the image: nothing left after the cut
  settings_.image_x_offset = 100;
  marked = Watermark(White(), settings_, job_);
  ASSERT_TRUE(marked);
  EXPECT_EQ(Marked(marked).right, -1);

  settings_.image_x_offset = 10;  // cut at the right edge, the left part kept
  marked = Watermark(White(), settings_, job_);
  EXPECT_EQ(Marked(marked).left, 10);
  EXPECT_EQ(Marked(marked).right, 99);

  settings_.image = folder_ / "missing.png";
  marked = Watermark(testing::MakeTestImage(testing::TestKind::kGrey8, 100, 80), settings_, job_);
  ASSERT_TRUE(marked);
  EXPECT_EQ(marked.bpp(), 24);
}

TEST_F(WatermarkStepTest, PicturesInEachFormatWithOpacityAndGrey) {
  settings_.do_watermark = 2;
  settings_.image_opacity = 128;
  const Colour colour{200, 100, 50};
  for (const auto& [format, name] :
       {std::pair{FIF_PNG, "p.png"}, {FIF_BMP, "p.bmp"}, {FIF_JPEG, "p.jpg"}}) {
    settings_.image = Picture(8, 8, colour, format, name);
    for (const bool grey : {false, true}) {
      settings_.image_greyscale = grey;
      const Image picture = PictureWatermarkImage(settings_);
      ASSERT_TRUE(picture) << name;
      ASSERT_EQ(picture.bpp(), 32);
      const BYTE* pixel = FreeImage_GetScanLine(picture.get(), 4) + 4 * 4;
      EXPECT_EQ(pixel[FI_RGBA_ALPHA], 128) << name;
      if (format == FIF_JPEG) continue;  // its colours are only near
      const int expected_grey = (77 * 200 + 150 * 100 + 29 * 50) / 256;  // 124
      EXPECT_EQ(pixel[FI_RGBA_RED], grey ? expected_grey : 200) << name;
      EXPECT_EQ(pixel[FI_RGBA_GREEN], grey ? expected_grey : 100) << name;
      EXPECT_EQ(pixel[FI_RGBA_BLUE], grey ? expected_grey : 50) << name;
    }
  }
  settings_.image = Picture(8, 8, colour, FIF_GIF, "p.gif");
  EXPECT_FALSE(PictureWatermarkImage(settings_));
}

// The watermark laid on the plain way: pasted at full strength on a cleared layer the size of
// the image, which is then composited over it.
Image WholeLayerWatermark(const Image& image, Image mark, int32_t rotation, int64_t x, int64_t y,
                          const WatermarkPlacement& place) {
  if (rotation != 0) mark = Image(FreeImage_Rotate(mark.get(), rotation, nullptr));
  if (place.cropped) {
    mark = Image(FreeImage_Copy(mark.get(), 0, 0, static_cast<int>(place.width),
                                static_cast<int>(place.height)));
  }
  const Image layer(FreeImage_Allocate(image.width(), image.height(), 32));
  FreeImage_Paste(layer.get(), mark.get(), static_cast<int>(x), static_cast<int>(y), 255);
  return Image(FreeImage_Composite(layer.get(), FALSE, nullptr, image.get()));
}

TEST_F(WatermarkStepTest, LaidOnAsAPasteOnAWholeLayerWouldBe) {
  // A picture whose every value differs, transparency included, at a partial opacity.
  settings_.do_watermark = 2;
  settings_.image = folder_ / "pattern.png";
  ASSERT_TRUE(testing::SavePng(PatternImage(30, 20, 32), settings_.image));
  settings_.image_opacity = 200;
  settings_.do_frame = 1;
  settings_.solid_left = settings_.solid_right = settings_.solid_top = settings_.solid_bottom = 12;
  const struct {
    int position, x_offset, y_offset, boundary, rotation;
  } cases[] = {
      {0, 5, 5, 0, 0},   {1, 5, 5, 0, 0},    {2, 3, 9, 0, 0},  {3, 0, 0, 0, 0},
      {4, 0, 0, 1, 0},   {5, 7, 2, 1, 0},    {6, 1, 1, 0, 0},  {7, 0, 4, 1, 0},
      {8, 10, 10, 0, 0}, {8, 10, 10, 0, 30}, {0, 0, 0, 1, 90}, {0, 80, 0, 0, 0},  // cut
      {8, 0, 70, 0, 0},  {0, -3, 0, 0, 0},   {4, 0, 0, 0, 45}, {0, 75, 65, 0, 17},
  };
  for (const auto& c : cases) {
    settings_.image_position = static_cast<int8_t>(c.position);
    settings_.image_x_offset = c.x_offset;
    settings_.image_y_offset = c.y_offset;
    settings_.image_boundary = static_cast<int8_t>(c.boundary);
    settings_.watermark_image_rotation = c.rotation;
    Image mark = PictureWatermarkImage(settings_);
    ASSERT_TRUE(mark);
    const Image turned =
        c.rotation != 0 ? Image(FreeImage_Rotate(mark.get(), c.rotation, nullptr)) : Image();
    const int64_t area = c.boundary == 1 ? 12 : 0;
    const WatermarkPlacement place =
        PlaceWatermark(c.position, c.x_offset, c.y_offset, 100 - 2 * area, 80 - 2 * area,
                       c.rotation != 0 ? turned.width() : mark.width(),
                       c.rotation != 0 ? turned.height() : mark.height());
    const Image expected = WholeLayerWatermark(PatternImage(100, 80), std::move(mark), c.rotation,
                                               place.x + area, place.y + area, place);
    // Each case is a new run for the cache, which keeps one picture per run.
    DrawingCache cache;
    for (DrawingCache* drawings : {static_cast<DrawingCache*>(nullptr), &cache, &cache}) {
      const Image marked = Watermark(PatternImage(100, 80), settings_, job_, drawings);
      EXPECT_TRUE(SamePixels(marked, expected))
          << c.position << " " << c.x_offset << "," << c.y_offset << " " << c.rotation;
    }
  }
}

class TextWatermarkTest : public WatermarkStepTest {
 protected:
  void SetUp() override {
    WatermarkStepTest::SetUp();
    settings_.do_watermark = 1;
    settings_.text_padding = 5;
  }
  Image Text(const std::string& text) {
    settings_.text = text;
    const ScopedWatermarkFont font(settings_);
    return TextWatermarkImage(settings_, job_);
  }
};

TEST_F(TextWatermarkTest, TheBoxIsTheMeasuredTextWithPaddingAndLines) {
  const auto font = WatermarkFont::Create(settings_);
  ASSERT_TRUE(font);
  const WatermarkFont::Extent photo = font->Measure("Photo", false);
  const WatermarkFont::Extent by_me = font->Measure("by me", false);

  const Image one = Text("Photo");
  EXPECT_EQ(one.width(), photo.width + 10);
  EXPECT_EQ(one.height(), photo.height + 10);

  settings_.font_leading = 3;
  const Image two = Text("Photo%eol%by me");
  const int line_height = std::max({photo.height, by_me.height, 10});
  EXPECT_EQ(two.width(), std::max({photo.width, by_me.width, 10}) + 10);
  EXPECT_EQ(two.height(), line_height + (line_height + 3) + 10);
  const Image capitals = Text("Photo%EOL%by me");
  EXPECT_EQ(capitals.width(), two.width());
  EXPECT_EQ(capitals.height(), two.height());

  // Placeholders take the values of the file being written.
  const Image name = Text("%FileName%");
  const Image holiday = Text("holiday");
  ASSERT_TRUE(name && holiday);
  EXPECT_EQ(name.width(), holiday.width());
  EXPECT_EQ(FreeImage_GetLine(name.get()) * name.height(),
            FreeImage_GetLine(holiday.get()) * holiday.height());
  EXPECT_EQ(0, std::memcmp(FreeImage_GetBits(name.get()), FreeImage_GetBits(holiday.get()),
                           FreeImage_GetPitch(name.get()) * name.height()));

  // Short lines still make a box of at least 10 x 10.
  settings_.text_padding = 0;
  settings_.font_size = 1;
  const Image tiny = Text(".%eol%.");
  EXPECT_EQ(tiny.width(), 10);
  EXPECT_EQ(tiny.height(), 10 + 13);
}

TEST_F(TextWatermarkTest, PlainTextWritesItsOpacitiesSmoothTextBlendsThem) {
  settings_.back_opacity = 1;
  settings_.text_opacity = 200;
  settings_.font_color = "FF0000";
  settings_.back_color = "0000FF";
  settings_.text_antialiasing = 0;
  const Image plain = Text("Watermark");
  std::set<int> alphas;
  for (int y = 0; y < plain.height(); ++y) {
    const BYTE* row = FreeImage_GetScanLine(plain.get(), y);
    for (int x = 0; x < plain.width(); ++x) alphas.insert(row[4 * x + FI_RGBA_ALPHA]);
  }
  EXPECT_EQ(alphas, (std::set<int>{1, 200}));

  settings_.text_antialiasing = 1;
  settings_.back_opacity = 255;
  settings_.text_opacity = 255;
  const Image smooth = Text("Watermark");
  std::set<int> reds;
  for (int y = 0; y < smooth.height(); ++y) {
    const BYTE* row = FreeImage_GetScanLine(smooth.get(), y);
    for (int x = 0; x < smooth.width(); ++x) {
      EXPECT_EQ(row[4 * x + FI_RGBA_ALPHA], 255);
      reds.insert(row[4 * x + FI_RGBA_RED]);
    }
  }
  EXPECT_GT(reds.size(), 10u);  // the glyphs' edges blend red into blue
  EXPECT_TRUE(reds.count(0) && reds.count(255));
}

TEST_F(TextWatermarkTest, WithoutTheRunsFontTheImageStaysAsItIs) {
  settings_.text = "no font loaded";
  ASSERT_EQ(CurrentWatermarkFont(), nullptr);
  const Image marked = Watermark(White(), settings_, job_);
  ASSERT_TRUE(marked);
  EXPECT_EQ(Marked(marked).right, -1);
}

}  // namespace
}  // namespace quill
