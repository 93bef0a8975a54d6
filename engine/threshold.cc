// Reducing the image to black and white at a threshold.
#include "engine/threshold.h"

namespace quill {

Image Threshold(Image image, const Settings& settings) {
  if (!image || settings.do_image_threshold == 0) return image;
  // The threshold takes standard bitmaps of at most 32 bits.
  if (image.bpp() > 32) {
    image = Image(FreeImage_ConvertTo24Bits(image.get()));
    if (!image) return image;
  }
  // The level is a byte; only the low byte of the setting counts.
  const BYTE level = static_cast<BYTE>(settings.image_threshold & 0xFF);
  return Image(FreeImage_Threshold(image.get(), level));
}

}  // namespace quill
