// Choosing the output depth and converting to it.
#include "engine/depth.h"

#include "engine/high_dynamic_range.h"

namespace quill {
namespace {

// Formats whose 16-bit pixels have 5 bits per channel.
bool Uses555(std::string_view extension) { return extension == "ico" || extension == "tga"; }

// Formats whose 8-bit images are greyscale rather than palette images.
bool EightBitIsGrey(std::string_view extension) {
  return extension == "j2k" || extension == "jp2" || extension == "jpg" || extension == "jxr";
}

// The palette conversions take standard bitmaps of at most 32 bits.
Image AtMost32Bits(Image image) {
  if (!image || image.bpp() <= 32) return image;
  return Image(FreeImage_ConvertTo24Bits(image.get()));
}

Image ToEightBits(Image image, std::string_view extension) {
  image = AtMost32Bits(std::move(image));
  if (!image) return image;
  if (EightBitIsGrey(extension)) return Image(FreeImage_ConvertTo8Bits(image.get()));
  if (image.bpp() != 24) image = Image(FreeImage_ConvertTo24Bits(image.get()));
  if (!image) return image;
  return Image(FreeImage_ColorQuantizeEx(image.get(), FIQ_WUQUANT, 256, 0, nullptr));
}

Image ToSixteenBits(Image image, std::string_view extension) {
  image = AtMost32Bits(std::move(image));
  if (!image) return image;
  return Image(Uses555(extension) ? FreeImage_ConvertTo16Bits555(image.get())
                                  : FreeImage_ConvertTo16Bits565(image.get()));
}

}  // namespace

int32_t AutomaticDepth(std::span<const int> allowed_depths, int32_t source_bit_depth) {
  for (const int depth : allowed_depths) {
    if (depth >= source_bit_depth) return depth;
  }
  return allowed_depths.empty() ? 0 : allowed_depths.back();
}

int32_t AutomaticDepth(const FormatRegistry& formats, std::string_view extension,
                       int32_t source_bit_depth) {
  return AutomaticDepth(formats.AllowedDepths(extension), source_bit_depth);
}

int32_t AutomaticSourceDepth(const Image& image, std::string_view extension) {
  const int32_t depth = image.bpp();
  const bool colour_palette = image.type() == FIT_BITMAP && depth <= 8 &&
                              FreeImage_GetColorType(image.get()) == FIC_PALETTE;
  return colour_palette && EightBitIsGrey(extension) ? 24 : depth;
}

Image ConvertToDepth(Image image, std::string_view extension, int32_t output_bit_depth) {
  if (!image) return image;
  if (output_bit_depth <= 32) image = NarrowGreySamples(std::move(image));
  if (!image || image.bpp() == output_bit_depth) return image;
  switch (output_bit_depth) {
    case 96:
      return Image(FreeImage_ConvertToRGBF(image.get()));
    case 48:
      return Image(FreeImage_ConvertToRGB16(image.get()));
    case 32:
      return Image(FreeImage_ConvertTo32Bits(image.get()));
    case 24:
      return Image(FreeImage_ConvertTo24Bits(image.get()));
    case 16:
      return ToSixteenBits(std::move(image), extension);
    case 8:
      return ToEightBits(std::move(image), extension);
    case 4:
      image = AtMost32Bits(std::move(image));
      return Image(image ? FreeImage_ConvertTo4Bits(image.get()) : nullptr);
    case 1:
      image = AtMost32Bits(std::move(image));
      return Image(image ? FreeImage_Dither(image.get(), FID_FS) : nullptr);
    default:
      return Image();
  }
}

}  // namespace quill
