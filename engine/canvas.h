// The drawing layer: 32-bit RGBA canvases with anti-aliased shapes and blending, handed to the
// image library directly. Canvases are Cairo image surfaces; they hold premultiplied alpha,
// which ToImage() turns back into the straight alpha of a library image.
#pragma once

#include <cstdint>
#include <span>

#include "engine/image.h"

typedef struct _cairo_surface cairo_surface_t;

namespace quill {

// A colour with its opacity (0 transparent to 255 opaque), channels not premultiplied.
struct Rgba {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;
};

struct Point {
  double x = 0;
  double y = 0;
};

// The largest canvas the drawing layer makes: Cairo's image surfaces hold at most 32767 pixels
// a side, and more pixels than a conversion may spend memory on give no canvas either.
inline constexpr int kMaxCanvasSide = 32767;
inline constexpr int64_t kMaxCanvasPixels = int64_t{1} << 28;

class Canvas {
 public:
  // A fully transparent canvas; not valid() when the size is empty, too large, or the memory
  // is not there.
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool valid() const { return surface_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  cairo_surface_t* surface() const { return surface_; }

  // Every pixel becomes `colour`, written as it is (not blended).
  void Fill(Rgba colour);
  // An axis-aligned rectangle and a closed polygon (even-odd rule), filled with `colour` over
  // what is there, with anti-aliased edges.
  void FillRectangle(double x, double y, double width, double height, Rgba colour);
  void FillPolygon(std::span<const Point> points, Rgba colour);
  // Draws `other` at (0, 0) over this canvas with a global opacity (0 to 255).
  void Draw(const Canvas& other, uint8_t opacity);

  // A 32-bit library image of the canvas with straight alpha; empty when it cannot be made.
  Image ToImage() const;

 private:
  cairo_surface_t* surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Whether a canvas or library image of this size is within the drawing limits.
bool WithinCanvasLimits(int64_t width, int64_t height);

}  // namespace quill
