// The limits against hostile or absurd images, in one place. Each is decided before any large
// allocation: a file or a step that would pass them is not converted.
#pragma once

#include <cstdint>

namespace quill {

struct ImageLimits {
  // The largest side a JPEG can hold.
  int64_t max_side = 65500;
  // The most pixels of any image the pipeline makes: 256 megapixels.
  int64_t max_pixels = int64_t{1} << 28;
  // The share of the machine's physical memory that one file's conversion may expect to use.
  double max_memory_share = 0.5;
  // Text chunks of a PNG beyond these are dropped before decoding (counted decompressed).
  int max_text_chunks = 64;
  int64_t max_text_bytes = int64_t{1} << 20;
  // A colour profile larger than this is dropped before decoding.
  int64_t max_icc_bytes = int64_t{1} << 20;
  // The most comment or XMP text that an output file carries; more is left out.
  int64_t max_output_metadata_bytes = int64_t{64} << 10;
};

inline constexpr ImageLimits kImageLimits{};

// Whether an image of `width` x `height` is within the side and pixel limits.
constexpr bool WithinImageLimits(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kImageLimits.max_side &&
         height <= kImageLimits.max_side && width * height <= kImageLimits.max_pixels;
}

}  // namespace quill
