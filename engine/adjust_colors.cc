// Brightness, contrast, gamma and inversion of the image.
#include "engine/adjust_colors.h"

namespace quill {

Image AdjustColors(Image image, const Settings& /*settings*/) {
  // Colour correction comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
