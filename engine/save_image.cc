// Writing through a temporary file in the target folder, then renaming it over the target.
#include "engine/save_image.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace quill {
namespace {

namespace fs = std::filesystem;

// A name for the new file that no other file of the folder is likely to have; its creation is
// exclusive, so a clash only means another try.
std::string TemporaryName() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string name = "quillpix-";
  uint64_t bits = generator();
  for (int i = 0; i < 12; ++i, bits >>= 4) name += kDigits[bits & 0xF];
  return name + ".part";
}

// Creates a new, empty file in `folder` for writing; null when none can be made.
std::FILE* CreateTemporaryFile(const fs::path& folder, fs::path& made) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path candidate = folder / TemporaryName();
    errno = 0;
    // "x": fail rather than open a file that exists. Created with the usual permissions (the
    // umask applies), as a directly written file would be.
    if (std::FILE* file = std::fopen(candidate.c_str(), "wbx")) {
      made = candidate;
      return file;
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

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

bool SaveImageFile(const Image& image, int32_t library_format, const std::string& path,
                   int32_t flags) {
  if (!image || path.empty()) return false;
  const fs::path target(path);
  if (!target.has_filename()) return false;
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  // Encoded into memory first: the library's writers do not clean up after a failed write
  // (a full disk), and this way every write error is ours to see.
  const MemoryStream memory;
  BYTE* bytes = nullptr;
  DWORD size = 0;
  if (memory.get() == nullptr ||
      !FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(library_format), image.get(),
                              memory.get(), flags) ||
      !FreeImage_AcquireMemory(memory.get(), &bytes, &size)) {
    return false;
  }

  fs::path temporary;
  std::FILE* file = CreateTemporaryFile(folder, temporary);
  if (file == nullptr) return false;
  bool complete = std::fwrite(bytes, 1, size, file) == size;
  complete = complete && std::fflush(file) == 0 && std::ferror(file) == 0;
  complete = (std::fclose(file) == 0) && complete;

  std::error_code error;
  if (complete) {
    // Replaces an existing file of that name in one step: readers see the old file or the new
    // one, never a part.
    fs::rename(temporary, target, error);
    if (!error) return true;
  }
  fs::remove(temporary, error);
  return false;
}

bool IsSameFile(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return false;
  std::error_code error;
  const bool same = fs::equivalent(first, second, error);
  return !error && same;
}

}  // namespace quill
