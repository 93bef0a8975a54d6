// The solid frame painted along the image's edges.
#pragma once

#include <cstdint>

#include "engine/drawing_cache.h"
#include "engine/image.h"
#include "settings/settings.h"

namespace quill {

// The frame for an image of `width` x `height` as bands along its edges, each a layer with
// the frame's opacity; the rest of the image is left uncovered.
FrameBands DrawFrameBands(const Settings& settings, int32_t width, int32_t height);

// Paints the configured frame over the outer pixels of the image, whose size is `width` x
// `height`, when a frame is on; otherwise returns the image as it is. The bands come from
// `cache` when it has them for that size. The image keeps its resolution, metadata and colour
// profile.
Image Frame(Image image, const Settings& settings, int32_t width, int32_t height,
            DrawingCache* cache = nullptr);

}  // namespace quill
