// Turning the image grey.
#include "engine/greyscale.h"

namespace quill {

Image Greyscale(Image image, const Settings& /*settings*/) {
  // Greyscale comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
