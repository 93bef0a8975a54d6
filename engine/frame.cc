// The solid frame painted along the image's edges: four bands with mitred corners, drawn
// anti-aliased on a transparent layer and laid over the image with one opacity. Only the strips
// along the edges are drawn and laid on, since the rest of the layer is transparent: with whole
// band widths every shape lies inside them.
#include "engine/frame.h"

#include <algorithm>

#include "engine/canvas.h"
#include "engine/colour.h"
#include "engine/overlay.h"

namespace quill {
namespace {

Rgba Opaque(const std::string& text) {
  const Rgb rgb = ParseColour(text);
  return {rgb.red, rgb.green, rgb.blue, 255};
}

// The part of the frame inside one strip of the image: the whole frame drawn shifted by the
// strip's corner, so that the edges fall on the same pixels as on a canvas of the whole image.
Image DrawStrip(const Settings& settings, int32_t width, int32_t height, int32_t strip_left,
                int32_t strip_top, int32_t strip_width, int32_t strip_height) {
  const double dx = -strip_left;
  const double dy = -strip_top;
  const double w = width;
  const double h = height;
  const double left = settings.solid_left;
  const double right = settings.solid_right;
  const double top = settings.solid_top;
  const double bottom = settings.solid_bottom;
  const Rgba left_colour = Opaque(settings.solid_left_color);
  const Rgba right_colour = Opaque(settings.solid_right_color);
  const Rgba top_colour = Opaque(settings.solid_top_color);
  const Rgba bottom_colour = Opaque(settings.solid_bottom_color);

  Canvas bands(strip_width, strip_height);
  if (!bands.valid()) return Image();
  // The corner squares lie under the diagonal seams, so that no background shows through where
  // two anti-aliased bands meet.
  bands.FillRectangle(dx, dy, left, top, top_colour);
  bands.FillRectangle(dx + w - right, dy, right, top, right_colour);
  bands.FillRectangle(dx + w - right, dy + h - bottom, right, bottom, bottom_colour);
  bands.FillRectangle(dx, dy + h - bottom, left, bottom, left_colour);
  const auto at = [&](double x, double y) { return Point{dx + x, dy + y}; };
  const Point top_band[] = {at(0, 0), at(w, 0), at(w - right, top), at(left, top)};
  const Point right_band[] = {at(w, 0), at(w, h), at(w - right, h - bottom), at(w - right, top)};
  const Point bottom_band[] = {at(w, h), at(0, h), at(left, h - bottom), at(w - right, h - bottom)};
  const Point left_band[] = {at(0, h), at(0, 0), at(left, top), at(left, h - bottom)};
  bands.FillPolygon(top_band, top_colour);
  bands.FillPolygon(right_band, right_colour);
  bands.FillPolygon(bottom_band, bottom_colour);
  bands.FillPolygon(left_band, left_colour);

  Canvas layer(strip_width, strip_height);
  if (!layer.valid()) return Image();
  layer.Draw(bands, static_cast<uint8_t>(settings.solid_opacity));
  return layer.ToImage();
}

}  // namespace

FrameBands DrawFrameBands(const Settings& settings, int32_t width, int32_t height) {
  // Four strips that do not overlap: the top and bottom ones the whole width, the left and
  // right ones between them. Bands wider than the image end at its far edge.
  const auto clamp = [](int64_t value, int64_t most) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, most));
  };
  const int32_t top = clamp(settings.solid_top, height);
  const int32_t bottom = clamp(settings.solid_bottom, height - top);
  const int32_t left = clamp(settings.solid_left, width);
  const int32_t right = clamp(settings.solid_right, width - left);
  const int32_t middle = height - top - bottom;
  const struct {
    int32_t left, top, width, height;
  } strips[] = {
      {0, 0, width, top},
      {0, height - bottom, width, bottom},
      {0, top, left, middle},
      {width - right, top, right, middle},
  };
  FrameBands bands;
  for (const auto& s : strips) {
    if (s.width <= 0 || s.height <= 0) continue;
    Image layer = DrawStrip(settings, width, height, s.left, s.top, s.width, s.height);
    if (layer) bands.push_back({std::move(layer), s.left, s.top});
  }
  return bands;
}

Image Frame(Image image, const Settings& settings, int32_t width, int32_t height,
            DrawingCache* cache) {
  if (!image || settings.do_frame == 0) return image;
  if (image.bpp() != 24) image = Image(FreeImage_ConvertTo24Bits(image.get()));
  if (!image || settings.do_frame != 1) return image;
  // A frame is drawn on images the drawing layer could hold whole.
  if (width <= 0 || height <= 0 || !WithinCanvasLimits(width, height)) return image;

  const auto draw = [&] { return DrawFrameBands(settings, width, height); };
  const std::shared_ptr<const FrameBands> bands = cache != nullptr
                                                      ? cache->FrameBandsFor(width, height, draw)
                                                      : std::make_shared<const FrameBands>(draw());
  for (const FrameBand& band : *bands) {
    BlendOver(image, band.layer, band.left, band.top, band.layer.width(), band.layer.height());
  }
  return image;
}

}  // namespace quill
