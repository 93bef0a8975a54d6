// Brightness, contrast, gamma and inversion of the image.
#include "engine/adjust_colors.h"

namespace quill {

Image AdjustColors(Image image, const Settings& settings) {
  if (!image || settings.do_image_color_correction == 0) return image;
  // The library adjusts 8-, 24- and 32-bit images; narrower and wider ones are widened or
  // narrowed to 24 bits first, and the pipeline goes on with that image.
  const int32_t depth = image.bpp();
  if (depth < 8 || depth > 32) {
    image = Image(FreeImage_ConvertTo24Bits(image.get()));
    if (!image) return image;
  }
  // Changes the pixels in place. Brightness 0, contrast 0, gamma 1 and no inversion change
  // nothing; an image the library cannot adjust is passed on as it is.
  FreeImage_AdjustColors(image.get(), static_cast<double>(settings.image_brightness),
                         static_cast<double>(settings.image_contrast),
                         static_cast<double>(settings.image_gamma),
                         settings.image_invert != 0 ? TRUE : FALSE);
  return image;
}

}  // namespace quill
