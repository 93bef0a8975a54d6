// Resizing of the image to the configured size.
#include "engine/resize.h"

#include <cmath>

#include "engine/limits.h"

namespace quill {
namespace {

constexpr int8_t kPixels = 0;
constexpr int8_t kPercent = 1;
constexpr int8_t kLargeImagesOnly = 1;

// `value` halfway between two integers goes to the even one; otherwise to the nearest.
double RoundHalfToEven(double value) {
  if (std::fabs(value - std::trunc(value)) == 0.5) return 2.0 * std::round(value / 2.0);
  return std::round(value);
}

// The target size along one side: `value` in `unit` against the current `size`; 0 for a unit
// that is neither pixels nor percent. Percent of int32 sizes stays well inside int64.
int64_t TargetSize(int32_t value, int8_t unit, int32_t size) {
  switch (unit) {
    case kPixels:
      return value;
    case kPercent:
      return static_cast<int64_t>(RoundHalfToEven(value / 100.0 * size));
    default:
      return 0;
  }
}

FREE_IMAGE_FILTER ResizeFilter(int8_t algorithm) {
  switch (algorithm) {
    case 0:
      return FILTER_BOX;
    case 1:
      return FILTER_BILINEAR;
    case 2:
      return FILTER_BSPLINE;
    case 3:
      return FILTER_BICUBIC;
    case 4:
      return FILTER_CATMULLROM;
    case 5:
      return FILTER_LANCZOS3;
    default:
      return FILTER_BICUBIC;
  }
}

// `target` divided by `ratio`, both in single precision, halves away from zero.
int64_t ScaledByRatio(int64_t target, float ratio) {
  return static_cast<int64_t>(std::round(static_cast<float>(target) / ratio));
}

}  // namespace

Image Resize(Image image, const Settings& settings, int32_t width, int32_t height) {
  if (!image || settings.do_image_resize == 0) return image;
  // Without a size to scale from there is nothing to keep in proportion.
  if (width <= 0 || height <= 0) return image;

  const int64_t target_width = TargetSize(settings.image_width, settings.image_width_unit, width);
  const int64_t target_height =
      TargetSize(settings.image_height, settings.image_height_unit, height);
  if (target_width <= 0 || target_height <= 0) return image;
  if (target_width == width && target_height == height) return image;
  // Large images only: an image smaller than the target both ways is left alone.
  if (settings.image_resize_type == kLargeImagesOnly && width < target_width &&
      height < target_height) {
    return image;
  }

  int64_t new_width = target_width;
  int64_t new_height = target_height;
  if (settings.keep_aspect_ratio != 0) {
    // The longer side takes its target; the other target is not used.
    if (width >= height) {
      new_height =
          ScaledByRatio(target_width, static_cast<float>(width) / static_cast<float>(height));
    } else {
      new_width =
          ScaledByRatio(target_height, static_cast<float>(height) / static_cast<float>(width));
    }
  }

  // A target far beyond any real image (a mistyped percent, say) would make the library try to
  // allocate gigabytes; such a resize fails the file instead.
  if (new_width > kImageLimits.max_side || new_height > kImageLimits.max_side ||
      new_width * new_height > kImageLimits.max_pixels) {
    return Image();
  }
  // A side that rounds to nothing (a very flat image kept in proportion) cannot be made.
  if (new_width < 1 || new_height < 1) return Image();
  return Image(FreeImage_Rescale(image.get(), static_cast<int>(new_width),
                                 static_cast<int>(new_height),
                                 ResizeFilter(settings.image_resize_algorithm)));
}

}  // namespace quill
