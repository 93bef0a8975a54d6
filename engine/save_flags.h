// The library's save flags for each output format, from the output settings.
#pragma once

#include <cstdint>
#include <string_view>

#include "settings/settings.h"

namespace quill {

// The flags `extension` is saved with: the compression, quality, subsampling, coding, interlace
// and colour-model settings of that format combined; 0 for formats without save options. A
// setting value outside its list adds nothing. Fixed once at the start of a run.
int32_t SaveFlags(std::string_view extension, const Settings& settings);

}  // namespace quill
