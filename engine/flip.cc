// Mirroring of the image, horizontally and vertically.
#include "engine/flip.h"

namespace quill {

Image Flip(Image image, const Settings& settings) {
  if (!image) return image;
  // Both mirror the image in place; with both on the image is turned by a half turn.
  if (settings.do_image_flip_horizontal != 0) FreeImage_FlipHorizontal(image.get());
  if (settings.do_image_flip_vertical != 0) FreeImage_FlipVertical(image.get());
  return image;
}

}  // namespace quill
