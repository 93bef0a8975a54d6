// Canvases on Cairo image surfaces.
#include "engine/canvas.h"

#include <cairo.h>

#include <cstring>
#include <utility>

namespace quill {
namespace {

// A drawing context on a canvas, destroyed at the end of the scope.
class Context {
 public:
  explicit Context(cairo_surface_t* surface) : cr_(cairo_create(surface)) {}
  ~Context() { cairo_destroy(cr_); }
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;
  cairo_t* get() const { return cr_; }

 private:
  cairo_t* cr_;
};

void SetSource(cairo_t* cr, Rgba colour) {
  cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0,
                        colour.alpha / 255.0);
}

}  // namespace

bool WithinCanvasLimits(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxCanvasSide && height <= kMaxCanvasSide &&
         width * height <= kMaxCanvasPixels;
}

Canvas::Canvas(int width, int height) {
  if (!WithinCanvasLimits(width, height)) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  surface_ = surface;  // a new image surface is cleared to transparent
  width_ = width;
  height_ = height;
}

Canvas::~Canvas() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  if (this != &other) {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = std::exchange(other.surface_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

void Canvas::Fill(Rgba colour) {
  if (!valid()) return;
  const Context cr(surface_);
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  SetSource(cr.get(), colour);
  cairo_paint(cr.get());
}

void Canvas::FillRectangle(double x, double y, double width, double height, Rgba colour) {
  if (!valid()) return;
  const Context cr(surface_);
  SetSource(cr.get(), colour);
  cairo_rectangle(cr.get(), x, y, width, height);
  cairo_fill(cr.get());
}

void Canvas::FillPolygon(std::span<const Point> points, Rgba colour) {
  if (!valid() || points.empty()) return;
  const Context cr(surface_);
  SetSource(cr.get(), colour);
  // Folded outlines (bands wider than the image) fill by the alternate rule.
  cairo_set_fill_rule(cr.get(), CAIRO_FILL_RULE_EVEN_ODD);
  cairo_move_to(cr.get(), points[0].x, points[0].y);
  for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr.get(), points[i].x, points[i].y);
  cairo_close_path(cr.get());
  cairo_fill(cr.get());
}

void Canvas::Draw(const Canvas& other, uint8_t opacity) {
  if (!valid() || !other.valid()) return;
  const Context cr(surface_);
  cairo_set_source_surface(cr.get(), other.surface_, 0, 0);
  cairo_paint_with_alpha(cr.get(), opacity / 255.0);
}

Image Canvas::ToImage() const {
  if (!valid()) return Image();
  Image image(FreeImage_Allocate(width_, height_, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                 FI_RGBA_BLUE_MASK));
  if (!image) return image;
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const auto* source =
        reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    // The library's rows run from the bottom up.
    BYTE* target = FreeImage_GetScanLine(image.get(), height_ - 1 - y);
    for (int x = 0; x < width_; ++x, target += 4) {
      const uint32_t pixel = source[x];
      const uint32_t alpha = pixel >> 24;
      uint32_t red = (pixel >> 16) & 0xFF;
      uint32_t green = (pixel >> 8) & 0xFF;
      uint32_t blue = pixel & 0xFF;
      if (alpha == 0) {
        red = green = blue = 0;
      } else if (alpha < 255) {
        // Un-premultiplied with rounding, as a PNG encoder of the surface does it.
        red = (red * 255 + alpha / 2) / alpha;
        green = (green * 255 + alpha / 2) / alpha;
        blue = (blue * 255 + alpha / 2) / alpha;
      }
      target[FI_RGBA_RED] = static_cast<BYTE>(red);
      target[FI_RGBA_GREEN] = static_cast<BYTE>(green);
      target[FI_RGBA_BLUE] = static_cast<BYTE>(blue);
      target[FI_RGBA_ALPHA] = static_cast<BYTE>(alpha);
    }
  }
  return image;
}

}  // namespace quill
