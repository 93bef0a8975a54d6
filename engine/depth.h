// The output depth: choosing it automatically, and converting an image to it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/format_registry.h"
#include "engine/image.h"

namespace quill {

// The depth an image of `source_bit_depth` bits is written with when the format's depth setting
// is automatic: the first allowed depth (ascending) that is at least the source depth, else the
// largest allowed one. 0 when the format allows no depth.
int32_t AutomaticDepth(std::span<const int> allowed_depths, int32_t source_bit_depth);
// The same for an output extension of the registry (0 for an unknown extension).
int32_t AutomaticDepth(const FormatRegistry& formats, std::string_view extension,
                       int32_t source_bit_depth);

// The depth that stands for a loaded image in the automatic choice for `extension`: its bits per
// pixel, except that a colour palette image counts as 24 bits for the formats whose 8-bit images
// are greyscale (j2k, jp2, jpg, jxr), so that its colours are kept. Palette images whose palette
// is a grey ramp (black and white ones included) keep their depth.
int32_t AutomaticSourceDepth(const Image& image, std::string_view extension);

// Converts the image to `output_bit_depth` bits per pixel for writing as `extension`:
//   96 RGB float; 48 RGB 16-bit; 32; 24; 16 as 5-5-5 for ico and tga, 5-6-5 otherwise;
//   8 as greyscale for j2k, jp2, jpg and jxr, otherwise a 256-colour palette (Wu quantizer);
//   4; 1 by Floyd-Steinberg dithering. Any other depth gives no image.
// An image that already has the depth is returned as it is. Images with wide one-channel samples
// are first narrowed to 8-bit greyscale for the depths up to 32, and images above 32 bits are
// first brought to 24 bits where the conversion to a palette depth needs it.
Image ConvertToDepth(Image image, std::string_view extension, int32_t output_bit_depth);

}  // namespace quill
