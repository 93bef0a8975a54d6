// Rotation of the image by the configured angle.
#pragma once

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Turns the image by "Image Rotation" degrees when rotation is on; otherwise returns it as it is.
Image Rotate(Image image, const Settings& settings);

}  // namespace quill
