// Reducing the image to black and white at a threshold.
#include "engine/threshold.h"

namespace quill {

Image Threshold(Image image, const Settings& /*settings*/) {
  // Thresholding comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
