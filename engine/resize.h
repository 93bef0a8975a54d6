// Resizing of the image to the configured size.
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Rescales the image, whose current size is `width` x `height`, to the configured size when
// resizing is on; otherwise returns it as it is.
Image Resize(Image image, const Settings& settings, int32_t width, int32_t height);

}  // namespace quill
