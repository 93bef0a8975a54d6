// Flattening transparent images onto white.
#include "engine/transparency.h"

namespace quill {

Image FlattenTransparency(Image image) {
  if (!image || !FreeImage_IsTransparent(image.get())) return image;
  // The compositing takes 8-bit (palette) and 32-bit foregrounds only; widen anything else,
  // keeping its transparency.
  const int32_t depth = image.bpp();
  if (depth != 8 && depth != 32) image = Image(FreeImage_ConvertTo32Bits(image.get()));
  if (!image) return image;
  RGBQUAD white{};
  white.rgbRed = 255;
  white.rgbGreen = 255;
  white.rgbBlue = 255;
  return Image(FreeImage_Composite(image.get(), FALSE, &white, nullptr));
}

}  // namespace quill
