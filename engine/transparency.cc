// Flattening onto white. Images with an alpha channel, the common case (every RGBA photo), are
// blended here in one pass with exactly the library's arithmetic for a white background; palette
// images go through the library's compositing.
#include "engine/transparency.h"

#include "engine/overlay.h"

namespace quill {
namespace {

// A 32-bit image over white as a new opaque 24-bit image, composited as the library does; the
// result keeps the resolution and the metadata, as the library's does.
Image OverWhite(const Image& image) {
  const int width = image.width();
  const int height = image.height();
  Image flat(FreeImage_Allocate(width, height, 24));
  if (!flat) return flat;
  FreeImage_SetDotsPerMeterX(flat.get(), FreeImage_GetDotsPerMeterX(image.get()));
  FreeImage_SetDotsPerMeterY(flat.get(), FreeImage_GetDotsPerMeterY(image.get()));
  FreeImage_CloneMetadata(flat.get(), image.get());
  static constexpr BYTE kWhite[3] = {255, 255, 255};
  for (int y = 0; y < height; ++y) {
    const BYTE* from = FreeImage_GetScanLine(image.get(), y);
    BYTE* to = FreeImage_GetScanLine(flat.get(), y);
    for (int x = 0; x < width; ++x, from += 4, to += 3) CompositePixel(from, kWhite, to);
  }
  return flat;
}

}  // namespace

Image FlattenTransparency(Image image) {
  if (!image || !FreeImage_IsTransparent(image.get())) return image;
  // The compositing takes 8-bit (palette) and 32-bit foregrounds only; widen anything else,
  // keeping its transparency.
  const int32_t depth = image.bpp();
  if (depth != 8 && depth != 32) image = Image(FreeImage_ConvertTo32Bits(image.get()));
  if (!image) return image;
  if (image.bpp() == 32 && image.type() == FIT_BITMAP) return OverWhite(image);
  RGBQUAD white{};
  white.rgbRed = 255;
  white.rgbGreen = 255;
  white.rgbBlue = 255;
  return Image(FreeImage_Composite(image.get(), FALSE, &white, nullptr));
}

}  // namespace quill
