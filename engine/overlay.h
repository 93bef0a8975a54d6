// Laying drawn layers (frame bands, watermarks) over an image in place.
#pragma once

#include <cstdint>

#include "engine/image.h"

namespace quill {

// Lays the top-left `width` x `height` pixels of the 32-bit straight-alpha `layer` over the
// 24-bit `image`, with their top-left corner at (`left`, `top`) counted from the image's top
// row. Each channel is composited the way the image library composites a layer: where the
// layer is transparent the image stays, where it is opaque the layer replaces it, and between
// the two it becomes (a * layer + (255 - a) * image) >> 8. What falls outside the image or the
// layer is cut off. The image keeps its resolution, metadata and colour profile.
void BlendOver(const Image& image, const Image& layer, int64_t left, int64_t top, int64_t width,
               int64_t height);

}  // namespace quill
