// The text or picture watermark laid over the image.
#include "engine/watermark.h"

namespace quill {

Image Watermark(Image image, const Settings& /*settings*/, const JobState& /*job*/) {
  // The watermark comes with the image operations; until then the image passes through.
  return image;
}

}  // namespace quill
