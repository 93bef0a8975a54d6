// The solid frame painted along the image's edges: four bands with mitred corners, drawn
// anti-aliased on a transparent layer and laid over the image with one opacity.
#include "engine/frame.h"

#include "engine/canvas.h"
#include "engine/colour.h"

namespace quill {
namespace {

Rgba Opaque(const std::string& text) {
  const Rgb rgb = ParseColour(text);
  return {rgb.red, rgb.green, rgb.blue, 255};
}

}  // namespace

Image Frame(Image image, const Settings& settings, int32_t width, int32_t height) {
  if (!image || settings.do_frame == 0) return image;
  if (image.bpp() != 24) image = Image(FreeImage_ConvertTo24Bits(image.get()));
  if (!image || settings.do_frame != 1) return image;

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

  Canvas bands(width, height);
  if (!bands.valid()) return image;
  // The corner squares lie under the diagonal seams, so that no background shows through where
  // two anti-aliased bands meet.
  bands.FillRectangle(0, 0, left, top, top_colour);
  bands.FillRectangle(w - right, 0, right, top, right_colour);
  bands.FillRectangle(w - right, h - bottom, right, bottom, bottom_colour);
  bands.FillRectangle(0, h - bottom, left, bottom, left_colour);
  const Point top_band[] = {{0, 0}, {w, 0}, {w - right, top}, {left, top}};
  const Point right_band[] = {{w, 0}, {w, h}, {w - right, h - bottom}, {w - right, top}};
  const Point bottom_band[] = {{w, h}, {0, h}, {left, h - bottom}, {w - right, h - bottom}};
  const Point left_band[] = {{0, h}, {0, 0}, {left, top}, {left, h - bottom}};
  bands.FillPolygon(top_band, top_colour);
  bands.FillPolygon(right_band, right_colour);
  bands.FillPolygon(bottom_band, bottom_colour);
  bands.FillPolygon(left_band, left_colour);

  Canvas layer(width, height);
  if (!layer.valid()) return image;
  layer.Draw(bands, static_cast<uint8_t>(settings.solid_opacity));
  const Image frame = layer.ToImage();
  if (!frame) return image;
  return Image(FreeImage_Composite(frame.get(), FALSE, nullptr, image.get()));
}

}  // namespace quill
