// The text or picture watermark laid over the image.
#pragma once

#include "engine/image.h"
#include "settings/job_state.h"
#include "settings/settings.h"

namespace quill {

// Lays the configured watermark over the image, whose size is the image width and height of
// `job` (whose placeholders the text may use), when a watermark is on; otherwise returns the
// image as it is.
Image Watermark(Image image, const Settings& settings, const JobState& job);

}  // namespace quill
