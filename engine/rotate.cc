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
      // The grown canvas must stay within the limits; a turn that would pass them fails the
      // file rather than being tried.
      const double radians = angle * 3.14159265358979323846 / 180.0;
      const double grown_width =
          std::ceil(std::fabs(width * std::cos(radians)) + std::fabs(height * std::sin(radians)));
      const double grown_height =
          std::ceil(std::fabs(width * std::sin(radians)) + std::fabs(height * std::cos(radians)));
      if (!WithinImageLimits(static_cast<int64_t>(grown_width) + 1,
                             static_cast<int64_t>(grown_height) + 1)) {
        return Image();
      }
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
