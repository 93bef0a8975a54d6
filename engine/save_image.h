// Writing an image file so that a failed save never leaves a partial file or loses an old one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/image.h"

namespace quill {

// An encoded file in the library's memory, freed when it goes. Move-only; an empty one stands
// for an encoding that failed.
class EncodedFile {
 public:
  EncodedFile() = default;
  explicit EncodedFile(FIMEMORY* memory) : memory_(memory) {}
  ~EncodedFile() {
    if (memory_ != nullptr) FreeImage_CloseMemory(memory_);
  }
  EncodedFile(EncodedFile&& other) noexcept : memory_(other.memory_) { other.memory_ = nullptr; }
  EncodedFile& operator=(EncodedFile&& other) noexcept {
    if (this != &other) {
      if (memory_ != nullptr) FreeImage_CloseMemory(memory_);
      memory_ = other.memory_;
      other.memory_ = nullptr;
    }
    return *this;
  }
  EncodedFile(const EncodedFile&) = delete;
  EncodedFile& operator=(const EncodedFile&) = delete;

  explicit operator bool() const { return memory_ != nullptr; }
  FIMEMORY* get() const { return memory_; }
  // The file's bytes; empty for an empty EncodedFile.
  std::string_view bytes() const {
    BYTE* data = nullptr;
    DWORD size = 0;
    if (memory_ == nullptr || !FreeImage_AcquireMemory(memory_, &data, &size)) return {};
    return {reinterpret_cast<const char*>(data), size};
  }

 private:
  FIMEMORY* memory_ = nullptr;
};

// `image` encoded in `library_format` with `flags`, as the file would hold it; empty when the
// library cannot encode it (or for an empty image). Encoding into memory first means that the
// library's writers, which do not clean up after a failed write, never touch a file.
EncodedFile EncodeImage(const Image& image, int32_t library_format, int32_t flags);

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
