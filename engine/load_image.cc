// Loading an input file: read whole, checked, then decoded from memory.
#include "engine/load_image.h"

#include <optional>

#include "engine/limits.h"
#include "engine/png_check.h"
#include "platform/files.h"
#include "platform/memory.h"

namespace quill {
namespace {

// The library's memory stream over bytes that stay ours, closed when it goes.
class MemoryStream {
 public:
  explicit MemoryStream(std::string& bytes)
      : memory_(FreeImage_OpenMemory(reinterpret_cast<BYTE*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()))) {}
  ~MemoryStream() {
    if (memory_ != nullptr) FreeImage_CloseMemory(memory_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  FIMEMORY* get() const { return memory_; }

 private:
  FIMEMORY* memory_;
};

// The text of every tag of a metadata model, in bytes.
int64_t MetadataBytes(FREE_IMAGE_MDMODEL model, FIBITMAP* bitmap) {
  FITAG* tag = nullptr;
  FIMETADATA* search = FreeImage_FindFirstMetadata(model, bitmap, &tag);
  if (search == nullptr) return 0;
  int64_t bytes = 0;
  do {
    bytes += FreeImage_GetTagLength(tag);
  } while (FreeImage_FindNextMetadata(search, &tag));
  FreeImage_FindCloseMetadata(search);
  return bytes;
}

}  // namespace

void LimitMetadata(const Image& image) {
  if (!image) return;
  for (const FREE_IMAGE_MDMODEL model : {FIMD_COMMENTS, FIMD_XMP}) {
    if (MetadataBytes(model, image.get()) > kImageLimits.max_output_metadata_bytes) {
      FreeImage_SetMetadata(model, image.get(), nullptr, nullptr);  // removes the whole model
    }
  }
}

LoadedImage LoadCheckedPng(const std::string& path) {
  LoadedImage loaded;
  const uint64_t memory = platform::PhysicalMemoryBytes();
  const int64_t size = platform::FileSize(path);
  if (size <= 0) return loaded;
  if (memory != 0 && static_cast<double>(size) > kImageLimits.max_memory_share * static_cast<double>(memory)) {
    loaded.refusal = "the file is larger than half of the memory";
    return loaded;
  }
  std::optional<std::string> bytes = platform::ReadWholeFile(path);
  if (!bytes || bytes->empty() || bytes->size() > 0xFFFFFFFFu) return loaded;
  PngCheck check = CheckPng(std::move(*bytes), memory);
  if (!check.refusal.empty()) {
    loaded.refusal = std::move(check.refusal);
    return loaded;
  }
  const MemoryStream stream(check.stream);
  if (stream.get() == nullptr) return loaded;
  loaded.image = Image(FreeImage_LoadFromMemory(FIF_PNG, stream.get(), PNG_DEFAULT));
  LimitMetadata(loaded.image);
  return loaded;
}

Image LoadPng(const std::string& path) { return LoadCheckedPng(path).image; }

}  // namespace quill
