// Flattening transparent images onto white.
#pragma once

#include "engine/image.h"

namespace quill {

// An image that the library reports as transparent (an alpha channel with transparency, or a
// palette with transparent entries) is composited onto a white background: the result is an
// opaque 24-bit image. Opaque images are returned as they are.
Image FlattenTransparency(Image image);

}  // namespace quill
