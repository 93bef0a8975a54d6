// Mirroring of the image, horizontally and vertically.
#include "engine/flip.h"

namespace quill {

Image Flip(Image image, const Settings& /*settings*/) {
  // Flipping comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
