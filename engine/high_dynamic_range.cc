// Narrowing wide samples and tone-mapping high-range images.
#include "engine/high_dynamic_range.h"

#include <algorithm>
#include <cmath>

namespace quill {
namespace {

// Alpha of one pixel of a high-range image with alpha, scaled to 0..255.
BYTE AlphaAt(FREE_IMAGE_TYPE type, const BYTE* row, unsigned x) {
  if (type == FIT_RGBA16)
    return static_cast<BYTE>(reinterpret_cast<const FIRGBA16*>(row)[x].alpha >> 8);
  const float alpha = std::clamp(reinterpret_cast<const FIRGBAF*>(row)[x].alpha, 0.0f, 1.0f);
  return static_cast<BYTE>(std::lround(alpha * 255.0f));
}

// `colour` with the alpha of `source`, an image of the same size: a 32-bit copy when `source`
// has a pixel that is not fully opaque, else `colour` itself.
Image WithAlphaOf(Image colour, const Image& source) {
  const FREE_IMAGE_TYPE type = source.type();
  const unsigned width = FreeImage_GetWidth(source.get());
  const unsigned height = FreeImage_GetHeight(source.get());
  bool transparent = false;
  for (unsigned y = 0; y < height && !transparent; ++y) {
    const BYTE* from = FreeImage_GetScanLine(source.get(), static_cast<int>(y));
    for (unsigned x = 0; x < width && !transparent; ++x) transparent = AlphaAt(type, from, x) < 255;
  }
  if (!transparent) return colour;

  Image result(FreeImage_ConvertTo32Bits(colour.get()));
  if (!result || result.width() != source.width() || result.height() != source.height()) {
    return Image();
  }
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* from = FreeImage_GetScanLine(source.get(), static_cast<int>(y));
    BYTE* to = FreeImage_GetScanLine(result.get(), static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x) to[x * 4 + FI_RGBA_ALPHA] = AlphaAt(type, from, x);
  }
  return result;
}

}  // namespace

Image NarrowGreySamples(Image image) {
  switch (image.type()) {
    case FIT_UNKNOWN:  // no image
    case FIT_BITMAP:
    case FIT_RGB16:
    case FIT_RGBA16:
    case FIT_RGBF:
    case FIT_RGBAF:
      return image;
    case FIT_UINT16:
      // The library's 24- and 32-bit conversions refuse 16-bit greyscale; its 8-bit conversion
      // keeps the high byte of each sample.
      return Image(FreeImage_ConvertTo8Bits(image.get()));
    default:
      // Samples whose range is not known in advance are scaled from their minimum to maximum.
      return Image(FreeImage_ConvertToStandardType(image.get(), TRUE));
  }
}

Image ReduceHighDynamicRange(Image image) {
  if (!image || image.bpp() <= 32) return image;
  Image reduced(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
  const FREE_IMAGE_TYPE type = image.type();
  const bool has_alpha = (type == FIT_RGBA16 || type == FIT_RGBAF);
  if (!reduced || !has_alpha) return reduced;
  return WithAlphaOf(std::move(reduced), image);
}

}  // namespace quill
