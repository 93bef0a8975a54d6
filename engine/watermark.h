// The text or picture watermark laid over the image.
#pragma once

#include <cstdint>
#include <string>

#include "engine/drawing_cache.h"
#include "engine/image.h"
#include "settings/job_state.h"
#include "settings/settings.h"

namespace quill {

// Where a watermark of `width` x `height` goes in a placement area: its size after the cut to
// what fits beside the offsets, and its top-left corner by the anchor (0 top left to 8 bottom
// right; centred coordinates ignore their offset, halves drop toward zero; any other anchor
// leaves it at (0, 0)), relative to the area.
struct WatermarkPlacement {
  int64_t x = 0;
  int64_t y = 0;
  int64_t width = 0;
  int64_t height = 0;
  bool cropped = false;
};
WatermarkPlacement PlaceWatermark(int32_t position, int64_t x_offset, int64_t y_offset,
                                  int64_t area_width, int64_t area_height, int64_t width,
                                  int64_t height);

// The watermark before rotation and placement, as a 32-bit image with straight alpha: the text
// block drawn with the run's font (empty without one), or the picture file with its opacity
// and greyscale applied (empty when it is no readable PNG, BMP or JPEG file).
Image TextWatermarkImage(const Settings& settings, const JobState& job);
// The watermark text with the placeholders of `job` filled in.
std::string WatermarkText(const Settings& settings, const JobState& job);
Image PictureWatermarkImage(const Settings& settings);

// Lays the configured watermark over the image, whose size is the image width and height of
// `job` (whose placeholders the text may use), when a watermark is on; otherwise returns the
// image as it is. The drawn watermark comes from `cache` when the last file drew the same one.
// The image keeps its resolution, metadata and colour profile.
Image Watermark(Image image, const Settings& settings, const JobState& job,
                DrawingCache* cache = nullptr);

}  // namespace quill
