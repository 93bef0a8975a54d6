// Brightness, contrast, gamma and inversion of the image.
#pragma once

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Applies the colour correction when it is on; otherwise returns the image as it is.
Image AdjustColors(Image image, const Settings& settings);

}  // namespace quill
