// Resizing of the image to the configured size.
#include "engine/resize.h"

namespace quill {

Image Resize(Image image, const Settings& /*settings*/, int32_t /*width*/, int32_t /*height*/) {
  // Resizing comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
