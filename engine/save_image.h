// Writing an image file so that a failed save never leaves a partial file or loses an old one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/image.h"

namespace quill {

// The bytes of `image` encoded in `library_format` with `flags`, as the file would hold them;
// nothing when the library cannot encode it (or for an empty image).
std::optional<std::string> EncodeImage(const Image& image, int32_t library_format, int32_t flags);

// Encodes `image` in `library_format` with `flags` into a new file beside `path`, and moves that
// file over `path` only when the library reports a complete save and every byte was written.
// On failure the new file is removed and whatever `path` held before is left untouched. False
// for an empty image or path.
bool SaveImageFile(const Image& image, int32_t library_format, const std::string& path,
                   int32_t flags);

// True when both paths name one existing file (the same device and inode, so links and
// different spellings of a path count too).
bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace quill
