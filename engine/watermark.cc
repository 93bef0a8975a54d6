// The watermark step: a text block or a picture drawn on a canvas of its own, rotated, cropped
// to the space available, and laid over the image at one of nine anchors.
#include "engine/watermark.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/canvas.h"
#include "engine/colour.h"
#include "engine/limits.h"
#include "engine/load_image.h"
#include "engine/output_name.h"
#include "engine/overlay.h"
#include "engine/rotate.h"
#include "engine/watermark_font.h"
#include "settings/ascii.h"

namespace quill {
namespace {

constexpr std::string_view kLineBreak = "%eol%";

Rgba WithAlpha(const std::string& text, int32_t opacity) {
  const Rgb rgb = ParseColour(text);
  return {rgb.red, rgb.green, rgb.blue, static_cast<uint8_t>(opacity)};
}

// Halves away from zero.
int RoundHalfAway(double value) { return static_cast<int>(std::lround(value)); }

// The lines of a text split at every "%eol%" in any letter case, and how many markers there were.
std::vector<std::string> SplitLines(const std::string& text) {
  const std::string lower = AsciiLower(text);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at = lower.find(kLineBreak); at != std::string::npos;
       at = lower.find(kLineBreak, start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + kLineBreak.size();
  }
  lines.push_back(text.substr(start));
  return lines;
}

// The text block: the lines of `text` (expanded for the file) on a box of the back colour,
// with padding and leading.
Canvas TextCanvas(const Settings& settings, const std::string& text) {
  const WatermarkFont* font = CurrentWatermarkFont();
  if (font == nullptr) return Canvas(0, 0);
  const bool smooth = settings.text_antialiasing != 0;
  const std::vector<std::string> lines = SplitLines(text);
  const int64_t breaks = static_cast<int64_t>(lines.size()) - 1;
  const int padding = settings.text_padding;

  std::vector<int> widths;
  int64_t box_width = 0;
  int64_t box_height = 0;
  int64_t line_step = 0;
  if (breaks == 0) {
    const WatermarkFont::Extent extent = font->Measure(text, smooth);
    widths.push_back(extent.width);
    box_width = extent.width;
    box_height = extent.height;
  } else {
    int line_height = 10;
    box_width = 10;
    for (const std::string& line : lines) {
      const WatermarkFont::Extent extent = font->Measure(line, smooth);
      widths.push_back(extent.width);
      box_width = std::max<int64_t>(box_width, extent.width);
      line_height = std::max(line_height, extent.height);
    }
    line_step = int64_t{line_height} + settings.font_leading;
    box_height = line_height + breaks * line_step;
  }
  box_width += 2 * int64_t{padding};
  box_height += 2 * int64_t{padding};
  if (!WithinCanvasLimits(box_width, box_height)) return Canvas(0, 0);
  const int width = static_cast<int>(box_width);

  // Where each line starts: a single line at the padding, several by the alignment.
  const auto line_x = [&](size_t index) {
    if (breaks == 0) return padding;
    switch (settings.text_alignment) {
      case 1:
        return RoundHalfAway((width - widths[index]) / 2.0);
      case 2:
        return width - widths[index] - padding;
      default:
        return padding;
    }
  };
  const auto line_y = [&](size_t index) {
    return static_cast<int>(padding + static_cast<int64_t>(index) * line_step);
  };

  if (!smooth) {
    // Plain text: the box and the glyphs are written with their own opacities, unblended.
    Canvas canvas(width, static_cast<int>(box_height));
    canvas.Fill(WithAlpha(settings.back_color, settings.back_opacity));
    const Rgba colour = WithAlpha(settings.font_color, settings.text_opacity);
    for (size_t i = 0; i < lines.size(); ++i) {
      font->Draw(canvas, lines[i], line_x(i), line_y(i), colour, false);
    }
    return canvas;
  }
  // Smooth text: an opaque box and opaque glyphs, each laid on with its own opacity.
  Canvas box(width, static_cast<int>(box_height));
  box.Fill(WithAlpha(settings.back_color, 255));
  Canvas glyphs(width, static_cast<int>(box_height));
  const Rgba colour = WithAlpha(settings.font_color, 255);
  for (size_t i = 0; i < lines.size(); ++i) {
    font->Draw(glyphs, lines[i], line_x(i), line_y(i), colour, true);
  }
  Canvas canvas(width, static_cast<int>(box_height));
  canvas.Draw(box, static_cast<uint8_t>(settings.back_opacity));
  canvas.Draw(glyphs, static_cast<uint8_t>(settings.text_opacity));
  return canvas;
}

}  // namespace

std::string WatermarkText(const Settings& settings, const JobState& job) {
  return ExpandPlaceholders(settings.text, PlaceholderValuesFor(job));
}

Image TextWatermarkImage(const Settings& settings, const JobState& job) {
  return TextCanvas(settings, WatermarkText(settings, job)).ToImage();
}

Image PictureWatermarkImage(const Settings& settings) {
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(settings.image.c_str(), 0);
  if (format != FIF_PNG && format != FIF_BMP && format != FIF_JPEG) return Image();
  // The picture obeys the limits of input files, checked before its pixels are read.
  Image picture;
  if (format == FIF_PNG) {
    picture = LoadCheckedPng(settings.image).image;
  } else {
    const Image header(FreeImage_Load(format, settings.image.c_str(), FIF_LOAD_NOPIXELS));
    if (!header || !WithinImageLimits(header.width(), header.height())) return Image();
    picture = Image(FreeImage_Load(format, settings.image.c_str(), 0));
    LimitMetadata(picture);
  }
  if (!picture || !WithinCanvasLimits(picture.width(), picture.height())) return Image();
  if (picture.bpp() != 32 || picture.type() != FIT_BITMAP) {
    picture = Image(FreeImage_ConvertTo32Bits(picture.get()));
    if (!picture) return picture;
  }
  const uint32_t opacity = static_cast<uint8_t>(settings.image_opacity);
  const bool grey = settings.image_greyscale != 0;
  for (int y = 0; y < picture.height(); ++y) {
    BYTE* pixel = FreeImage_GetScanLine(picture.get(), y);
    for (int x = 0; x < picture.width(); ++x, pixel += 4) {
      pixel[FI_RGBA_ALPHA] = static_cast<BYTE>((pixel[FI_RGBA_ALPHA] * opacity + 127) / 255);
      if (grey) {
        const BYTE g = static_cast<BYTE>(
            (77 * pixel[FI_RGBA_RED] + 150 * pixel[FI_RGBA_GREEN] + 29 * pixel[FI_RGBA_BLUE]) /
            256);
        pixel[FI_RGBA_RED] = pixel[FI_RGBA_GREEN] = pixel[FI_RGBA_BLUE] = g;
      }
    }
  }
  return picture;
}

WatermarkPlacement PlaceWatermark(int32_t position, int64_t x_offset, int64_t y_offset,
                                  int64_t area_width, int64_t area_height, int64_t width,
                                  int64_t height) {
  WatermarkPlacement place;
  place.width = width;
  place.height = height;
  // Cut to what fits beside the offsets, keeping the top-left part.
  if (width + x_offset > area_width) place.width = area_width - x_offset;
  if (height + y_offset > area_height) place.height = area_height - y_offset;
  place.cropped = place.width != width || place.height != height;
  const int64_t w = place.width;
  const int64_t h = place.height;
  // Anchors 0 to 8 run left to right, then top to bottom: the column gives x, the row y.
  const auto along = [](int32_t step, int64_t offset, int64_t area, int64_t size) -> int64_t {
    if (step == 0) return offset;
    if (step == 1) return (area - size) / 2;  // centred: the offset does not count
    return area - size - offset;
  };
  if (position >= 0 && position <= 8) {
    place.x = along(position % 3, x_offset, area_width, w);
    place.y = along(position / 3, y_offset, area_height, h);
  }
  return place;
}

namespace {

// The watermark as it is laid on: drawn or loaded, turned, and with each value at 255/256 of
// itself, alpha included, as the library's paste at strength 255 leaves it on a cleared layer.
Image PreparedWatermark(const Settings& settings, const std::string& text) {
  const bool is_text = settings.do_watermark == 1;
  Image mark;
  if (is_text) {
    mark = TextCanvas(settings, text).ToImage();
  } else if (settings.do_watermark == 2) {
    mark = PictureWatermarkImage(settings);
  }
  if (!mark) return mark;
  const int32_t angle = is_text ? settings.text_rotation : settings.watermark_image_rotation;
  if (angle > 0 && angle < 360) {
    // A turn that would pass the limits is not tried: no watermark, as when the turn fails.
    if (!TurnedSizeWithinLimits(mark.width(), mark.height(), angle)) return Image();
    // Without a background colour the corners that the turn adds stay transparent.
    mark = Image(FreeImage_Rotate(mark.get(), angle, nullptr));
    if (!mark || mark.bpp() != 32) return Image();
  }
  for (int y = 0; y < mark.height(); ++y) {
    BYTE* value = FreeImage_GetScanLine(mark.get(), y);
    for (BYTE* end = value + 4 * static_cast<size_t>(mark.width()); value != end; ++value) {
      *value = static_cast<BYTE>((*value * 255u) >> 8);
    }
  }
  return mark;
}

}  // namespace

Image Watermark(Image image, const Settings& settings, const JobState& job, DrawingCache* cache) {
  if (!image || settings.do_watermark == 0) return image;
  if (image.bpp() != 24) image = Image(FreeImage_ConvertTo24Bits(image.get()));
  if (!image) return image;

  const bool text = settings.do_watermark == 1;
  // A text that names the file differs from file to file; a picture is the same for the run.
  const std::string key = text ? WatermarkText(settings, job) : settings.image;
  const auto prepare = [&] { return PreparedWatermark(settings, key); };
  const std::shared_ptr<const Image> mark = cache != nullptr
                                                ? cache->WatermarkFor(key, prepare)
                                                : std::make_shared<const Image>(prepare());
  if (!*mark) return image;

  const int32_t width = job.image_width;
  const int32_t height = job.image_height;
  // In 64 bits: widths and offsets may be any 32-bit numbers.
  int64_t area_x = 0;
  int64_t area_y = 0;
  int64_t area_width = width;
  int64_t area_height = height;
  const int8_t boundary = text ? settings.text_boundary : settings.image_boundary;
  if (settings.do_frame != 0 && boundary == 1) {
    area_x = settings.solid_left;
    area_y = settings.solid_top;
    area_width = int64_t{width} - settings.solid_left - settings.solid_right;
    area_height = int64_t{height} - settings.solid_top - settings.solid_bottom;
  }
  const WatermarkPlacement place =
      PlaceWatermark(text ? settings.text_position : settings.image_position,
                     text ? settings.text_x_offset : settings.image_x_offset,
                     text ? settings.text_y_offset : settings.image_y_offset, area_width,
                     area_height, mark->width(), mark->height());
  // Nothing left after the cut: the image goes on without a watermark.
  if (place.width <= 0 || place.height <= 0) return image;
  // A watermark that would reach outside the image is not laid on: the image comes out
  // without it.
  const int64_t x = place.x + area_x;
  const int64_t y = place.y + area_y;
  if (x >= 0 && y >= 0 && x + place.width <= width && y + place.height <= height) {
    BlendOver(image, *mark, x, y, place.width, place.height);
  }
  return image;
}

}  // namespace quill
