// Turning the image grey.
#pragma once

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Converts the image to greyscale when that is on; otherwise returns it as it is.
Image Greyscale(Image image, const Settings& settings);

}  // namespace quill
