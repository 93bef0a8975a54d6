// Loading an input file.
#pragma once

#include <string>

#include "engine/image.h"

namespace quill {

struct LoadedImage {
  Image image;          // empty when the file could not be read or decoded, or was refused
  std::string refusal;  // why the limits refused the file; empty otherwise
};

// Decodes the file at `path` as PNG, whatever its name says, as one image with the library's
// default options. The stream is checked first: a declared size beyond the limits, or beyond
// what the machine's memory allows, refuses the file before anything large is allocated; text
// chunks and colour profiles beyond their limits are dropped; and the comment and XMP text that
// the image brings along is left out when it is larger than an output may carry.
LoadedImage LoadCheckedPng(const std::string& path);

// The same without the reason.
Image LoadPng(const std::string& path);

// Leaves out comment and XMP text larger than an output may carry.
void LimitMetadata(const Image& image);

}  // namespace quill
