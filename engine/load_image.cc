// Loading an input file: its chunks checked through the file itself, then decoded by the library
// straight from the same open file, with any dropped chunks skipped on the way.
#include "engine/load_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/limits.h"
#include "engine/png_check.h"
#include "platform/memory.h"

namespace quill {
namespace {

// An open file, closed when it goes.
class OpenFile : public ByteSource {
 public:
  explicit OpenFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat st;
    if (fd_ >= 0 && (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
      close(fd_);
      fd_ = -1;
    }
    if (fd_ >= 0) size_ = static_cast<uint64_t>(st.st_size);
  }
  ~OpenFile() override {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool is_open() const { return fd_ >= 0; }
  uint64_t size() const override { return size_; }
  bool ReadAt(uint64_t offset, char* out, size_t count) const override {
    return ReadSome(offset, out, count) == count;
  }
  // Reads up to `count` bytes at `offset`; fewer at the end of the file or on an error.
  size_t ReadSome(uint64_t offset, char* out, size_t count) const {
    size_t done = 0;
    while (done < count) {
      const ssize_t got = pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    return done;
  }

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

// The stream the library reads: the file without the dropped chunks, in the library's
// read-seek-tell terms. The decoder reads a few bytes at a time (chunk headers, check sums,
// pieces of image data), so reads go through a window of the stream read ahead in one go.
struct Stream {
  static constexpr uint64_t kWindow = 64 * 1024;

  const OpenFile* file = nullptr;
  const std::vector<std::pair<uint64_t, uint64_t>>* dropped = nullptr;
  uint64_t size = 0;      // of the stream
  uint64_t position = 0;  // in the stream
  std::vector<char> window = std::vector<char>(kWindow);
  uint64_t window_start = 0;  // the stream position of the window's first byte
  uint64_t window_size = 0;   // how many bytes of it hold the stream

  // The file offset of a stream position, and how many bytes follow it before the next drop.
  std::pair<uint64_t, uint64_t> Locate(uint64_t at) const {
    uint64_t offset = at;
    for (const auto& [first, end] : *dropped) {
      if (first > offset) return {offset, first - offset};
      offset += end - first;
    }
    return {offset, file->size() > offset ? file->size() - offset : 0};
  }

  // Reads up to `count` bytes of the stream at `at` from the file; fewer at its end or on an
  // error.
  uint64_t ReadFromFile(uint64_t at, char* out, uint64_t count) const {
    uint64_t done = 0;
    while (done < count && at + done < size) {
      const auto [offset, run] = Locate(at + done);
      const uint64_t take = std::min({count - done, run, size - (at + done)});
      if (take == 0) break;
      const size_t got = file->ReadSome(offset, out + done, static_cast<size_t>(take));
      done += got;
      if (got < take) break;
    }
    return done;
  }

  uint64_t Read(char* out, uint64_t count) {
    uint64_t done = 0;
    while (done < count && position < size) {
      if (position >= window_start && position < window_start + window_size) {
        const uint64_t from = position - window_start;
        const uint64_t take = std::min(count - done, window_size - from);
        std::memcpy(out + done, window.data() + from, static_cast<size_t>(take));
        done += take;
        position += take;
        continue;
      }
      if (count - done >= kWindow) {
        // Large reads go straight to the caller.
        const uint64_t got = ReadFromFile(position, out + done, count - done);
        done += got;
        position += got;
        break;
      }
      window_start = position;
      window_size = ReadFromFile(position, window.data(), kWindow);
      if (window_size == 0) break;
    }
    return done;
  }
};

unsigned DLL_CALLCONV ReadStream(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  Stream& stream = *static_cast<Stream*>(handle);
  const uint64_t done = stream.Read(static_cast<char*>(buffer), uint64_t{size} * count);
  return size == 0 ? 0 : static_cast<unsigned>(done / size);
}

unsigned DLL_CALLCONV WriteStream(void*, unsigned, unsigned, fi_handle) { return 0; }

int DLL_CALLCONV SeekStream(fi_handle handle, long offset, int origin) {
  Stream& stream = *static_cast<Stream*>(handle);
  const int64_t base = origin == SEEK_SET   ? 0
                       : origin == SEEK_CUR ? static_cast<int64_t>(stream.position)
                                            : static_cast<int64_t>(stream.size);
  const int64_t target = base + offset;
  if (target < 0) return -1;
  stream.position = static_cast<uint64_t>(target);
  return 0;
}

long DLL_CALLCONV TellStream(fi_handle handle) {
  return static_cast<long>(static_cast<Stream*>(handle)->position);
}

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
  const OpenFile file(path);
  if (!file.is_open() || file.size() == 0) return loaded;
  const PngCheck check = CheckPng(file, platform::PhysicalMemoryBytes());
  if (!check.refusal.empty()) {
    loaded.refusal = check.refusal;
    return loaded;
  }
  Stream stream;
  stream.file = &file;
  stream.dropped = &check.dropped;
  stream.size = file.size();
  for (const auto& [first, end] : check.dropped) stream.size -= end - first;
  FreeImageIO io{ReadStream, WriteStream, SeekStream, TellStream};
  loaded.image = Image(FreeImage_LoadFromHandle(FIF_PNG, &io, &stream, PNG_DEFAULT));
  LimitMetadata(loaded.image);
  return loaded;
}

Image LoadPng(const std::string& path) { return LoadCheckedPng(path).image; }

}  // namespace quill
