// Rotation of the image by the configured angle.
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Whether the canvas that a simple rotation grows, to hold an image of `width` x `height`
// turned by `angle` degrees, stays within the image limits.
bool TurnedSizeWithinLimits(int64_t width, int64_t height, int32_t angle);

// Turns the image by "Image Rotation" degrees when rotation is on; otherwise returns it as it is.
Image Rotate(Image image, const Settings& settings);

}  // namespace quill
