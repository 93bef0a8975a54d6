// Rotation of the image by the configured angle.
#include "engine/rotate.h"

#include <cmath>

#include "engine/colour.h"
#include "engine/limits.h"

namespace quill {
namespace {

constexpr int8_t kSimpleRotation = 0;
constexpr int8_t kAdvancedRotation = 1;

}  // namespace

bool TurnedSizeWithinLimits(int64_t width, int64_t height, int32_t angle) {
  const double radians = angle * 3.14159265358979323846 / 180.0;
  const double w = static_cast<double>(width);
  const double h = static_cast<double>(height);
  const double grown_width =
      std::ceil(std::fabs(w * std::cos(radians)) + std::fabs(h * std::sin(radians)));
  const double grown_height =
      std::ceil(std::fabs(w * std::sin(radians)) + std::fabs(h * std::cos(radians)));
  // One pixel more each way for the library's rounding.
  return WithinImageLimits(static_cast<int64_t>(grown_width) + 1,
                           static_cast<int64_t>(grown_height) + 1);
}

Image Rotate(Image image, const Settings& settings) {
  if (!image || settings.do_image_rotation == 0) return image;
  const int32_t angle = settings.transform_image_rotation;
  // 0, 360 and negative angles leave the image as it is.
  if (angle <= 0 || angle >= 360) return image;

  const double width = image.width();
  const double height = image.height();
  // Only 24- and 32-bit images are rotated as they are; everything else is widened first.
  const int32_t depth = image.bpp();
  if (depth <= 16 || depth > 32) {
    image = Image(FreeImage_ConvertTo24Bits(image.get()));
    if (!image) return image;
  }

  switch (settings.image_rotation_type) {
    case kSimpleRotation: {
      // The canvas grows to hold the whole turned image; the corners it gains take the
      // background colour.
      // A turn that would pass the limits fails the file rather than being tried.
      if (!TurnedSizeWithinLimits(image.width(), image.height(), angle)) return Image();
      const Rgb back = ParseColour(settings.image_rotation_back_color);
      const RGBQUAD background{back.blue, back.green, back.red, 0};
      return Image(FreeImage_Rotate(image.get(), static_cast<double>(angle), &background));
    }
    case kAdvancedRotation:
      // Turns about the centre and keeps the size.
      return Image(FreeImage_RotateEx(image.get(), static_cast<double>(angle), 0.0, 0.0,
                                      width / 2.0, height / 2.0, FALSE));
    default:
      return image;
  }
}

}  // namespace quill
