// Laying drawn layers over an image in place, row by row over the covered part only.
#include "engine/overlay.h"

#include <algorithm>

namespace quill {

void BlendOver(const Image& image, const Image& layer, int64_t left, int64_t top, int64_t width,
               int64_t height) {
  if (!image || !layer || image.bpp() != 24 || layer.bpp() != 32) return;
  width = std::min<int64_t>(width, layer.width());
  height = std::min<int64_t>(height, layer.height());
  const int64_t x0 = std::max<int64_t>(left, 0);
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t x1 = std::min<int64_t>(left + width, image.width());
  const int64_t y1 = std::min<int64_t>(top + height, image.height());
  for (int64_t y = y0; y < y1; ++y) {
    // Library rows run bottom-up.
    BYTE* out =
        FreeImage_GetScanLine(image.get(), static_cast<int>(image.height() - 1 - y)) + 3 * x0;
    const BYTE* in =
        FreeImage_GetScanLine(layer.get(), static_cast<int>(layer.height() - 1 - (y - top))) +
        4 * (x0 - left);
    for (int64_t x = x0; x < x1; ++x, out += 3, in += 4) CompositePixel(in, out, out);
  }
}

}  // namespace quill
