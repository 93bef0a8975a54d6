// Laying drawn layers (frame bands, watermarks) over an image in place.
#pragma once

#include <cstdint>

#include "engine/image.h"

namespace quill {

// One pixel of a 32-bit straight-alpha layer composited over a 24-bit pixel `under`, into `out`
// (which may be `under`), the way the image library composites: a transparent layer pixel leaves
// `under`, an opaque one replaces it, and between the two each channel becomes
// (a * layer + (255 - a) * under) >> 8.
inline void CompositePixel(const BYTE* layer, const BYTE* under, BYTE* out) {
  const unsigned a = layer[FI_RGBA_ALPHA];
  if (a == 0) {
    if (out != under) {
      out[FI_RGBA_BLUE] = under[FI_RGBA_BLUE];
      out[FI_RGBA_GREEN] = under[FI_RGBA_GREEN];
      out[FI_RGBA_RED] = under[FI_RGBA_RED];
    }
    return;
  }
  if (a == 255) {
    out[FI_RGBA_BLUE] = layer[FI_RGBA_BLUE];
    out[FI_RGBA_GREEN] = layer[FI_RGBA_GREEN];
    out[FI_RGBA_RED] = layer[FI_RGBA_RED];
    return;
  }
  const unsigned rest = 255 - a;
  out[FI_RGBA_BLUE] =
      static_cast<BYTE>((a * layer[FI_RGBA_BLUE] + rest * under[FI_RGBA_BLUE]) >> 8);
  out[FI_RGBA_GREEN] =
      static_cast<BYTE>((a * layer[FI_RGBA_GREEN] + rest * under[FI_RGBA_GREEN]) >> 8);
  out[FI_RGBA_RED] = static_cast<BYTE>((a * layer[FI_RGBA_RED] + rest * under[FI_RGBA_RED]) >> 8);
}

// Lays the top-left `width` x `height` pixels of the 32-bit straight-alpha `layer` over the
// 24-bit `image`, with their top-left corner at (`left`, `top`) counted from the image's top
// row, each pixel as CompositePixel does. What falls outside the image or the layer is cut off. The
// image keeps its resolution, metadata and colour profile.
void BlendOver(const Image& image, const Image& layer, int64_t left, int64_t top, int64_t width,
               int64_t height);

}  // namespace quill
