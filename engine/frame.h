// The solid frame painted along the image's edges.
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// Paints the configured frame over the outer pixels of the image, whose size is `width` x
// `height`, when a frame is on; otherwise returns the image as it is.
Image Frame(Image image, const Settings& settings, int32_t width, int32_t height);

}  // namespace quill
