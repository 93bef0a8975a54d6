// Encoding into memory, then writing through a temporary file renamed over the target.
#include "engine/save_image.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/files.h"

namespace quill {

namespace fs = std::filesystem;

EncodedFile EncodeImage(const Image& image, int32_t library_format, int32_t flags) {
  if (!image) return EncodedFile();
  EncodedFile encoded(FreeImage_OpenMemory());
  if (!encoded || !FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(library_format),
                                          image.get(), encoded.get(), flags)) {
    return EncodedFile();
  }
  return encoded;
}

bool SaveImageFile(const Image& image, int32_t library_format, const std::string& path,
                   int32_t flags) {
  if (!image || path.empty()) return false;
  const EncodedFile encoded = EncodeImage(image, library_format, flags);
  return encoded && platform::WriteFileReplacing(path, encoded.bytes());
}

bool IsSameFile(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return false;
  std::error_code error;
  const bool same = fs::equivalent(first, second, error);
  return !error && same;
}

}  // namespace quill
