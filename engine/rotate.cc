// Rotation of the image by the configured angle.
#include "engine/rotate.h"

namespace quill {

Image Rotate(Image image, const Settings& /*settings*/) {
  // Rotation comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
