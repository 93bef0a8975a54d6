// Walking a PNG's chunks. Nothing here allocates more than the file itself: image data is never
// inflated, and compressed text is inflated into a small buffer only to count it.
#include "engine/png_check.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "engine/limits.h"

namespace quill {
namespace {

constexpr unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

uint32_t BigEndian(const char* bytes) {
  const auto byte = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i]));
  };
  return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

// Inflates `length` bytes of `source` from `offset` on into a small buffer, counting what comes
// out, no further than `limit` + 1.
int64_t InflatedSize(const ByteSource& source, uint64_t offset, uint64_t length, int64_t limit) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return limit + 1;
  char input[16384];
  unsigned char scratch[16384];
  int64_t total = 0;
  int status = Z_OK;
  while (status == Z_OK && total <= limit) {
    if (stream.avail_in == 0) {
      if (length == 0) break;
      const size_t take = static_cast<size_t>(std::min<uint64_t>(length, sizeof input));
      if (!source.ReadAt(offset, input, take)) break;
      offset += take;
      length -= take;
      stream.next_in = reinterpret_cast<Bytef*>(input);
      stream.avail_in = static_cast<uInt>(take);
    }
    stream.next_out = scratch;
    stream.avail_out = sizeof scratch;
    status = inflate(&stream, Z_NO_FLUSH);
    total += static_cast<int64_t>(sizeof scratch - stream.avail_out);
    if (status == Z_BUF_ERROR && stream.avail_in == 0 && length > 0) status = Z_OK;
  }
  inflateEnd(&stream);
  return total;
}

// Reads up to `most` bytes of a chunk's data, for the keyword and flags at its start.
std::string Head(const ByteSource& source, uint64_t offset, uint64_t length, size_t most) {
  std::string head(static_cast<size_t>(std::min<uint64_t>(length, most)), '\0');
  if (!source.ReadAt(offset, head.data(), head.size())) head.clear();
  return head;
}

// The text a text chunk carries once inflated, counted up to `limit` + 1.
int64_t TextSize(const ByteSource& source, std::string_view type, uint64_t offset, uint64_t length,
                 int64_t limit) {
  const auto whole = static_cast<int64_t>(length);
  if (type == "tEXt") return whole;
  // A keyword is at most 79 bytes; the language tag and translated keyword of iTXt are short
  // too, so the head holds everything before the text in any well-formed chunk.
  const std::string head = Head(source, offset, length, 1024);
  const size_t keyword_end = head.find('\0');
  if (keyword_end == std::string::npos) return whole;
  if (type == "zTXt") {
    // keyword, NUL, the method byte, then the compressed text
    if (keyword_end + 2 > length) return whole;
    return InflatedSize(source, offset + keyword_end + 2, length - keyword_end - 2, limit);
  }
  // iTXt: keyword, NUL, the compression flag and method, language tag, NUL, translated
  // keyword, NUL, then the text
  if (keyword_end + 3 > head.size()) return whole;
  const bool compressed = head[keyword_end + 1] != 0;
  const size_t language_end = head.find('\0', keyword_end + 3);
  if (language_end == std::string::npos) return whole;
  const size_t translated_end = head.find('\0', language_end + 1);
  if (translated_end == std::string::npos) return whole;
  const uint64_t text = translated_end + 1;
  return compressed ? InflatedSize(source, offset + text, length - text, limit)
                    : static_cast<int64_t>(length - text);
}

std::string SizeText(uint32_t width, uint32_t height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

}  // namespace

uint64_t EstimatedPeakMemory(uint32_t width, uint32_t height, int bit_depth, int colour_type) {
  // Bytes per pixel as the library holds the decoded image.
  uint64_t decoded = 1;
  const bool deep = bit_depth == 16;
  switch (colour_type) {
    case 0:
      decoded = deep ? 2 : 1;
      break;  // grey
    case 2:
      decoded = deep ? 6 : 3;
      break;  // RGB
    case 3:
      decoded = 1;
      break;  // palette
    case 4:   // grey with alpha, widened to RGBA
    case 6:
      decoded = deep ? 8 : 4;
      break;  // RGBA
    default:
      decoded = 8;
      break;
  }
  // The decoded image, the widest image a step makes from it (32 bits a pixel) while the first
  // still lives, and the encoded output.
  const uint64_t pixels = uint64_t{width} * height;
  return pixels * (decoded + 4 + 3);
}

bool MemorySource::ReadAt(uint64_t offset, char* out, size_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
  std::memcpy(out, bytes_.data() + offset, count);
  return true;
}

PngCheck CheckPng(const ByteSource& source, uint64_t physical_memory) {
  PngCheck check;
  char header[33];
  const bool png = source.ReadAt(0, header, sizeof header) &&
                   std::memcmp(header, kSignature, 8) == 0 && BigEndian(header + 8) == 13 &&
                   std::memcmp(header + 12, "IHDR", 4) == 0;
  if (!png) return check;
  check.width = BigEndian(header + 16);
  check.height = BigEndian(header + 20);
  const int bit_depth = static_cast<unsigned char>(header[24]);
  const int colour_type = static_cast<unsigned char>(header[25]);
  if (check.width == 0 || check.height == 0) {
    check.refusal = "the image of " + SizeText(check.width, check.height) + " has no pixels";
    return check;
  }
  if (!WithinImageLimits(check.width, check.height)) {
    check.refusal = "the image of " + SizeText(check.width, check.height) +
                    " is larger than the limit of " + std::to_string(kImageLimits.max_side) +
                    " pixels a side and " + std::to_string(kImageLimits.max_pixels) + " pixels";
    return check;
  }
  const uint64_t needed = EstimatedPeakMemory(check.width, check.height, bit_depth, colour_type);
  if (physical_memory != 0 &&
      static_cast<double>(needed) >
          kImageLimits.max_memory_share * static_cast<double>(physical_memory)) {
    check.refusal = "the image of " + SizeText(check.width, check.height) + " would need about " +
                    std::to_string(needed >> 20) + " MiB, more than half of the memory";
    return check;
  }

  // The chunks: each is a length, a type, the data and a check sum.
  int text_chunks = 0;
  int64_t text_bytes = 0;
  const uint64_t size = source.size();
  uint64_t at = 8;
  char chunk[8];
  while (at + 12 <= size && source.ReadAt(at, chunk, sizeof chunk)) {
    const uint32_t length = BigEndian(chunk);
    if (length > 0x7FFFFFFFu || at + 12 + length > size) {
      // A chunk that claims more than the file holds: the stream ends before it. The decoder
      // would otherwise allocate what the length claims (gigabytes) before finding the end.
      check.dropped.emplace_back(at, size);
      break;
    }
    const std::string_view type(chunk + 4, 4);
    const uint64_t data = at + 8;
    const uint64_t end = at + 12 + length;
    bool drop = false;
    if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
      const int64_t budget = kImageLimits.max_text_bytes - text_bytes;
      const int64_t text = TextSize(source, type, data, length, budget);
      if (text_chunks >= kImageLimits.max_text_chunks || text > budget) {
        drop = true;
      } else {
        ++text_chunks;
        text_bytes += text;
      }
    } else if (type == "iCCP") {
      const std::string head = Head(source, data, length, 81);
      const size_t name_end = head.find('\0');
      const int64_t profile = name_end != std::string::npos && name_end + 2 <= length
                                  ? InflatedSize(source, data + name_end + 2, length - name_end - 2,
                                                 kImageLimits.max_icc_bytes)
                                  : static_cast<int64_t>(length);
      drop = profile > kImageLimits.max_icc_bytes;
    }
    if (drop) check.dropped.emplace_back(at, end);
    at = end;
    if (type == "IEND") break;
  }
  return check;
}

PngCheck CheckPng(std::string_view bytes, uint64_t physical_memory) {
  return CheckPng(MemorySource(bytes), physical_memory);
}

std::string KeptStream(std::string_view bytes, const PngCheck& check) {
  std::string kept;
  uint64_t from = 0;
  for (const auto& [first, end] : check.dropped) {
    kept.append(bytes.substr(from, first - from));
    from = end;
  }
  kept.append(bytes.substr(std::min<uint64_t>(from, bytes.size())));
  return kept;
}

}  // namespace quill
