// A PNG stream checked before the library decodes it: its chunk structure is walked without
// inflating any image data, the declared size is held against the limits, and ancillary chunks
// that are too many or too large are marked to be left out of the stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quill {

// Bytes read at offsets: a file, or bytes in memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Reads `count` bytes at `offset`; false when they are not all there.
  virtual bool ReadAt(uint64_t offset, char* out, size_t count) const = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, char* out, size_t count) const override;

 private:
  std::string_view bytes_;
};

struct PngCheck {
  // Empty when the stream may be decoded; otherwise why it is refused.
  std::string refusal;
  uint32_t width = 0;
  uint32_t height = 0;
  // Whole chunks to leave out of the stream, as [first byte, end) in ascending order.
  std::vector<std::pair<uint64_t, uint64_t>> dropped;
};

// Checks the PNG file in `source` on a machine with `physical_memory` bytes (0 when unknown: no
// memory limit). Only the chunk headers and the text and profile chunks are read. A stream that
// is no PNG at all is passed on as it is, for the decoder to refuse; one cut short ends before the
// chunk that claims more than is there.
PngCheck CheckPng(const ByteSource& source, uint64_t physical_memory);
PngCheck CheckPng(std::string_view bytes, uint64_t physical_memory);

// `bytes` without the chunks that the check drops.
std::string KeptStream(std::string_view bytes, const PngCheck& check);

// The memory a conversion of a `width` x `height` PNG of this bit depth and colour type may
// need at its peak, in bytes.
uint64_t EstimatedPeakMemory(uint32_t width, uint32_t height, int bit_depth, int colour_type);

}  // namespace quill
