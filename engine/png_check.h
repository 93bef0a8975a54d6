// A PNG stream checked before the library decodes it: its chunk structure is walked without
// inflating any image data, the declared size is held against the limits, and ancillary chunks
// that are too many or too large are dropped from the stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

struct PngCheck {
  // Empty when the stream may be decoded; otherwise why it is refused.
  std::string refusal;
  uint32_t width = 0;
  uint32_t height = 0;
  // The stream to decode: the input, less the chunks that were dropped.
  std::string stream;
  int dropped_chunks = 0;
};

// Checks `bytes` as a PNG file on a machine with `physical_memory` bytes (0 when unknown: no
// memory limit). A stream that is no PNG at all, or is cut short, is passed on as it is: the
// decoder refuses it with its own error.
PngCheck CheckPng(std::string bytes, uint64_t physical_memory);

// The memory a conversion of a `width` x `height` PNG of this bit depth and colour type may
// need at its peak, in bytes.
uint64_t EstimatedPeakMemory(uint32_t width, uint32_t height, int bit_depth, int colour_type);

}  // namespace quill
