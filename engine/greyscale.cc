// Turning the image grey.
#include "engine/greyscale.h"

namespace quill {

Image Greyscale(Image image, const Settings& settings) {
  if (!image || settings.do_image_greyscale == 0) return image;
  // The greyscale conversion takes standard bitmaps of at most 32 bits.
  if (image.bpp() > 32) {
    image = Image(FreeImage_ConvertTo24Bits(image.get()));
    if (!image) return image;
  }
  return Image(FreeImage_ConvertToGreyscale(image.get()));
}

}  // namespace quill
