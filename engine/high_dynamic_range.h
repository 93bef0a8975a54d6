// Bringing images with more than 8 bits per sample down to the library's standard bitmaps.
#pragma once

#include "engine/image.h"

namespace quill {

// One-channel images with wide samples (16-bit greyscale, and the integer and floating-point
// types) become 8-bit greyscale, because the depth conversions and most library operations take
// only standard bitmaps. 16-bit greyscale keeps the high byte of each sample. Every other image,
// the multi-channel high-range ones included, is returned as it is.
Image NarrowGreySamples(Image image);

// An image of more than 32 bits per pixel (16 bits or floating point per channel) is tone-mapped
// to 24 bits (Drago 2003, gamma 1.0, exposure 0.0). When it has an alpha channel with any
// transparency, the result is 32 bits and keeps that alpha (scaled to 8 bits), so that the
// transparent parts can still be flattened; the tone mapping alone would drop it.
Image ReduceHighDynamicRange(Image image);

}  // namespace quill
