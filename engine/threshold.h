// Reducing the image to black and white at a threshold.
#pragma once

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Thresholds the image to 1 bit when that is on; otherwise returns it as it is.
Image Threshold(Image image, const Settings& settings);

}  // namespace quill
