// Mirroring of the image, horizontally and vertically.
#pragma once

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Mirrors the image in place as the two flip settings ask, and returns it.
Image Flip(Image image, const Settings& settings);

}  // namespace quill
