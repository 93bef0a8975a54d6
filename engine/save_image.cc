// Encoding into memory, then writing through a temporary file renamed over the target.
#include "engine/save_image.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/files.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// The library's memory stream, closed when it goes.
class MemoryStream {
 public:
  MemoryStream() : memory_(FreeImage_OpenMemory()) {}
  ~MemoryStream() {
    if (memory_ != nullptr) FreeImage_CloseMemory(memory_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  FIMEMORY* get() const { return memory_; }

 private:
  FIMEMORY* memory_;
};

}  // namespace

std::optional<std::string> EncodeImage(const Image& image, int32_t library_format,
                                       int32_t flags) {
  if (!image) return std::nullopt;
  // Encoded into memory first: the library's writers do not clean up after a failed write
  // (a full disk), and this way every write error is ours to see.
  const MemoryStream memory;
  BYTE* bytes = nullptr;
  DWORD size = 0;
  if (memory.get() == nullptr ||
      !FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(library_format), image.get(),
                              memory.get(), flags) ||
      !FreeImage_AcquireMemory(memory.get(), &bytes, &size)) {
    return std::nullopt;
  }
  return std::string(reinterpret_cast<const char*>(bytes), size);
}

bool SaveImageFile(const Image& image, int32_t library_format, const std::string& path,
                   int32_t flags) {
  if (!image || path.empty()) return false;
  const std::optional<std::string> encoded = EncodeImage(image, library_format, flags);
  return encoded && platform::WriteFileReplacing(path, *encoded);
}

bool IsSameFile(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return false;
  std::error_code error;
  const bool same = fs::equivalent(first, second, error);
  return !error && same;
}

}  // namespace quill
