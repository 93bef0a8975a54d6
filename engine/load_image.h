// Loading an input file.
#pragma once

#include <string>

#include "engine/image.h"

namespace quill {

// Decodes the file at `path` as PNG, whatever its name says, as one image with the library's
// default options. Empty when the file is missing, unreadable or not a valid PNG stream.
Image LoadPng(const std::string& path);

}  // namespace quill
