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

uint32_t BigEndian(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
  return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

// How many bytes `compressed` inflates to, counting no further than `limit` + 1.
int64_t InflatedSize(std::string_view compressed, int64_t limit) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return limit + 1;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  stream.avail_in = static_cast<uInt>(std::min<size_t>(compressed.size(), 0x7FFFFFFF));
  unsigned char scratch[16384];
  int64_t total = 0;
  for (;;) {
    stream.next_out = scratch;
    stream.avail_out = sizeof scratch;
    const int status = inflate(&stream, Z_NO_FLUSH);
    total += static_cast<int64_t>(sizeof scratch - stream.avail_out);
    if (total > limit || status != Z_OK) break;
  }
  inflateEnd(&stream);
  return total;
}

// The text a text chunk carries once inflated, counted up to `limit` + 1.
int64_t TextSize(std::string_view type, std::string_view data, int64_t limit) {
  const size_t keyword_end = data.find('\0');
  if (type == "tEXt" || keyword_end == std::string_view::npos) {
    return static_cast<int64_t>(data.size());
  }
  if (type == "zTXt") {
    // keyword, NUL, the method byte, then the compressed text
    return keyword_end + 2 <= data.size() ? InflatedSize(data.substr(keyword_end + 2), limit)
                                          : static_cast<int64_t>(data.size());
  }
  // iTXt: keyword, NUL, the compression flag and method, language tag, NUL, translated
  // keyword, NUL, then the text
  if (keyword_end + 3 > data.size()) return static_cast<int64_t>(data.size());
  const bool compressed = data[keyword_end + 1] != 0;
  const size_t language_end = data.find('\0', keyword_end + 3);
  if (language_end == std::string_view::npos) return static_cast<int64_t>(data.size());
  const size_t translated_end = data.find('\0', language_end + 1);
  if (translated_end == std::string_view::npos) return static_cast<int64_t>(data.size());
  const std::string_view text = data.substr(translated_end + 1);
  return compressed ? InflatedSize(text, limit) : static_cast<int64_t>(text.size());
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
    case 0: decoded = deep ? 2 : 1; break;  // grey
    case 2: decoded = deep ? 6 : 3; break;  // RGB
    case 3: decoded = 1; break;             // palette
    case 4:                                 // grey with alpha, widened to RGBA
    case 6: decoded = deep ? 8 : 4; break;  // RGBA
    default: decoded = 8; break;
  }
  // The decoded image, the widest image a step makes from it (32 bits a pixel) while the first
  // still lives, and the encoded output.
  const uint64_t pixels = uint64_t{width} * height;
  return pixels * (decoded + 4 + 3);
}

PngCheck CheckPng(std::string bytes, uint64_t physical_memory) {
  PngCheck check;
  const std::string_view view(bytes);
  const bool png = view.size() >= 8 + 25 && std::memcmp(view.data(), kSignature, 8) == 0 &&
                   BigEndian(view, 8) == 13 && view.substr(12, 4) == "IHDR";
  if (!png) {
    check.stream = std::move(bytes);
    return check;
  }
  check.width = BigEndian(view, 16);
  check.height = BigEndian(view, 20);
  const int bit_depth = static_cast<unsigned char>(view[24]);
  const int colour_type = static_cast<unsigned char>(view[25]);
  if (!WithinImageLimits(check.width, check.height)) {
    check.refusal = "the image of " + SizeText(check.width, check.height) +
                    " is larger than the limit of " + std::to_string(kImageLimits.max_side) +
                    " pixels a side and " + std::to_string(kImageLimits.max_pixels) + " pixels";
    return check;
  }
  const uint64_t needed = EstimatedPeakMemory(check.width, check.height, bit_depth, colour_type);
  if (physical_memory != 0 &&
      static_cast<double>(needed) > kImageLimits.max_memory_share * static_cast<double>(physical_memory)) {
    check.refusal = "the image of " + SizeText(check.width, check.height) + " would need about " +
                    std::to_string(needed >> 20) + " MiB, more than half of the memory";
    return check;
  }

  // The chunks: each is a length, a type, the data and a check sum.
  std::string kept;
  bool dropping = false;
  int text_chunks = 0;
  int64_t text_bytes = 0;
  size_t at = 8;
  size_t copied_to = 0;  // bytes before this are in `kept` already (once dropping began)
  while (at + 12 <= view.size()) {
    const uint32_t length = BigEndian(view, at);
    if (length > 0x7FFFFFFFu || at + 12 + length > view.size()) break;  // cut short: as it is
    const std::string_view type = view.substr(at + 4, 4);
    const std::string_view data = view.substr(at + 8, length);
    const size_t end = at + 12 + length;
    bool drop = false;
    if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
      const int64_t budget = kImageLimits.max_text_bytes - text_bytes;
      const int64_t size = TextSize(type, data, budget);
      if (text_chunks >= kImageLimits.max_text_chunks || size > budget) {
        drop = true;
      } else {
        ++text_chunks;
        text_bytes += size;
      }
    } else if (type == "iCCP") {
      const size_t name_end = data.find('\0');
      const int64_t size = name_end != std::string_view::npos && name_end + 2 <= data.size()
                               ? InflatedSize(data.substr(name_end + 2), kImageLimits.max_icc_bytes)
                               : static_cast<int64_t>(data.size());
      drop = size > kImageLimits.max_icc_bytes;
    }
    if (drop) {
      if (!dropping) {
        kept.reserve(view.size());
        dropping = true;
      }
      kept.append(view.substr(copied_to, at - copied_to));
      copied_to = end;
      ++check.dropped_chunks;
    }
    at = end;
    if (type == "IEND") break;
  }
  if (dropping) {
    kept.append(view.substr(copied_to));
    check.stream = std::move(kept);
  } else {
    check.stream = std::move(bytes);
  }
  return check;
}

}  // namespace quill
