// Small synthetic images for the engine's tests, and readers of written files that use tools
// other than our own code. Included by tests only.
#pragma once

#include <FreeImage.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine/image.h"
#include "tests/support/run_program.h"

namespace quill::testing {

struct Colour {
  BYTE red = 0, green = 0, blue = 0;
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kGreen{0, 160, 0};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kWhite{255, 255, 255};

// The kinds of test image. "Split" images have a left half and a right half; in the transparent
// ones the left half is fully transparent, and its hidden colour is red.
enum class TestKind {
  kRgb24,         // opaque, left red, right blue
  kRgba32,        // left transparent, right blue
  kRgba32Opaque,  // 32 bits with every alpha 255
  kPalette8,      // colour palette, left index 0 (red, transparent), right index 1 (green)
  kPalette8Opaque,
  kGrey8,   // greyscale ramp from left to right
  kGrey16,  // 16-bit greyscale ramp from left to right
  kRgb16,   // 48 bits, left red, right blue
  kRgba16,  // 64 bits, left transparent, right blue
  kBit1,    // black and white, left black, right white
  kBit4,    // 16-colour palette, left red, right blue
};

inline void SetBgr(BYTE* pixel, Colour c) {
  pixel[FI_RGBA_RED] = c.red;
  pixel[FI_RGBA_GREEN] = c.green;
  pixel[FI_RGBA_BLUE] = c.blue;
}

inline Image MakeTestImage(TestKind kind, unsigned width = 64, unsigned height = 48) {
  const unsigned half = width / 2;
  auto rows = [&](Image& image, auto&& paint) {
    for (unsigned y = 0; y < height; ++y) {
      BYTE* row = FreeImage_GetScanLine(image.get(), static_cast<int>(y));
      for (unsigned x = 0; x < width; ++x) paint(row, x, x < half);
    }
  };
  switch (kind) {
    case TestKind::kRgb24: {
      Image image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24));
      rows(image,
           [](BYTE* row, unsigned x, bool left) { SetBgr(row + 3 * x, left ? kRed : kBlue); });
      return image;
    }
    case TestKind::kRgba32:
    case TestKind::kRgba32Opaque: {
      const bool opaque = kind == TestKind::kRgba32Opaque;
      Image image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 32,
                                     FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
      rows(image, [opaque](BYTE* row, unsigned x, bool left) {
        SetBgr(row + 4 * x, left ? kRed : kBlue);
        row[4 * x + FI_RGBA_ALPHA] = (left && !opaque) ? 0 : 255;
      });
      return image;
    }
    case TestKind::kPalette8:
    case TestKind::kPalette8Opaque:
    case TestKind::kBit4: {
      const int bpp = kind == TestKind::kBit4 ? 4 : 8;
      Image image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), bpp));
      RGBQUAD* palette = FreeImage_GetPalette(image.get());
      const Colour right = kind == TestKind::kBit4 ? kBlue : kGreen;
      palette[0] = {kRed.blue, kRed.green, kRed.red, 0};
      palette[1] = {right.blue, right.green, right.red, 0};
      palette[2] = {10, 200, 30, 0};
      if (kind == TestKind::kPalette8) {
        BYTE table[3] = {0, 255, 255};
        FreeImage_SetTransparencyTable(image.get(), table, 3);
      }
      rows(image, [bpp](BYTE* row, unsigned x, bool left) {
        const BYTE index = left ? 0 : 1;
        if (bpp == 8) {
          row[x] = index;
        } else {
          const unsigned shift = (x % 2 == 0) ? 4 : 0;
          row[x / 2] = static_cast<BYTE>((row[x / 2] & ~(0xF << shift)) | (index << shift));
        }
      });
      return image;
    }
    case TestKind::kGrey8: {
      Image image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 8));
      rows(image, [width](BYTE* row, unsigned x, bool) {
        row[x] = static_cast<BYTE>(x * 255 / (width - 1));
      });
      return image;
    }
    case TestKind::kGrey16: {
      Image image(
          FreeImage_AllocateT(FIT_UINT16, static_cast<int>(width), static_cast<int>(height)));
      rows(image, [width](BYTE* row, unsigned x, bool) {
        reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(x * 65535 / (width - 1));
      });
      return image;
    }
    case TestKind::kRgb16: {
      Image image(
          FreeImage_AllocateT(FIT_RGB16, static_cast<int>(width), static_cast<int>(height)));
      rows(image, [](BYTE* row, unsigned x, bool left) {
        FIRGB16& p = reinterpret_cast<FIRGB16*>(row)[x];
        p = left ? FIRGB16{65535, 0, 0} : FIRGB16{0, 0, 65535};
      });
      return image;
    }
    case TestKind::kRgba16: {
      Image image(
          FreeImage_AllocateT(FIT_RGBA16, static_cast<int>(width), static_cast<int>(height)));
      rows(image, [](BYTE* row, unsigned x, bool left) {
        FIRGBA16& p = reinterpret_cast<FIRGBA16*>(row)[x];
        p = left ? FIRGBA16{65535, 0, 0, 0} : FIRGBA16{0, 0, 65535, 65535};
      });
      return image;
    }
    case TestKind::kBit1: {
      Image image(FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 1));
      RGBQUAD* palette = FreeImage_GetPalette(image.get());
      palette[0] = {0, 0, 0, 0};
      palette[1] = {255, 255, 255, 0};
      rows(image, [](BYTE* row, unsigned x, bool left) {
        const BYTE mask = static_cast<BYTE>(0x80 >> (x % 8));
        row[x / 8] =
            left ? static_cast<BYTE>(row[x / 8] & ~mask) : static_cast<BYTE>(row[x / 8] | mask);
      });
      return image;
    }
  }
  return Image();
}

inline bool SavePng(const Image& image, const std::string& path) {
  return FreeImage_Save(FIF_PNG, image.get(), path.c_str(), PNG_DEFAULT) != FALSE;
}

// A 24- or 32-bit image in which every byte differs from its neighbours: changes of a single
// value anywhere show.
inline Image PatternImage(int width, int height, int bpp = 24) {
  Image image(bpp == 32 ? FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK,
                                             FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK)
                        : FreeImage_Allocate(width, height, bpp));
  uint32_t state = 12345;
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(image.get(), y);
    for (unsigned i = 0; i < FreeImage_GetLine(image.get()); ++i) {
      state = state * 1103515245u + 12345u;
      row[i] = static_cast<BYTE>(state >> 16);
    }
  }
  return image;
}

// Gives the image a "Comment" text, as a PNG text chunk would.
inline void SetComment(const Image& image, const std::string& text) {
  FITAG* tag = FreeImage_CreateTag();
  const auto length = static_cast<DWORD>(text.size() + 1);
  FreeImage_SetTagKey(tag, "Comment");
  FreeImage_SetTagType(tag, FIDT_ASCII);
  FreeImage_SetTagLength(tag, length);
  FreeImage_SetTagCount(tag, length);
  FreeImage_SetTagValue(tag, text.c_str());
  FreeImage_SetMetadata(FIMD_COMMENTS, image.get(), "Comment", tag);
  FreeImage_DeleteTag(tag);
}

// Whether two images have the same size, depth and pixel bytes.
inline bool SamePixels(const Image& a, const Image& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.bpp() != b.bpp()) return false;
  for (int y = 0; y < a.height(); ++y) {
    if (std::memcmp(FreeImage_GetScanLine(a.get(), y), FreeImage_GetScanLine(b.get(), y),
                    FreeImage_GetLine(a.get())) != 0) {
      return false;
    }
  }
  return true;
}

// Colour of a pixel of a standard 8-, 24- or 32-bit bitmap, (0, 0) the top left.
inline Colour PixelAt(const Image& image, unsigned x, unsigned y_from_top) {
  RGBQUAD q{};
  const unsigned y = FreeImage_GetHeight(image.get()) - 1 - y_from_top;
  if (FreeImage_GetBPP(image.get()) <= 8) {
    BYTE index = 0;
    FreeImage_GetPixelIndex(image.get(), x, y, &index);
    q = FreeImage_GetPalette(image.get())[index];
  } else {
    FreeImage_GetPixelColor(image.get(), x, y, &q);
  }
  return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

// A file decoded by the system's JPEG decoder (djpeg), rows from the top.
struct DecodedPixels {
  int width = 0;
  int height = 0;
  int channels = 0;  // 1 grey, 3 colour
  std::vector<uint8_t> bytes;
  Colour at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * channels;
    if (channels == 1) return {bytes[i], bytes[i], bytes[i]};
    return {bytes[i], bytes[i + 1], bytes[i + 2]};
  }
};

inline std::optional<DecodedPixels> DecodeJpeg(const std::string& path) {
  const ProgramResult run = RunProgram({"djpeg", "-pnm", path});
  if (run.exit_code != 0) return std::nullopt;
  const std::string& out = run.out;
  DecodedPixels pixels;
  size_t pos = 0;
  auto next_token = [&]() {
    while (pos < out.size() && std::isspace(static_cast<unsigned char>(out[pos]))) ++pos;
    const size_t start = pos;
    while (pos < out.size() && !std::isspace(static_cast<unsigned char>(out[pos]))) ++pos;
    return out.substr(start, pos - start);
  };
  const std::string magic = next_token();
  if (magic != "P5" && magic != "P6") return std::nullopt;
  pixels.channels = magic == "P5" ? 1 : 3;
  pixels.width = std::stoi(next_token());
  pixels.height = std::stoi(next_token());
  if (next_token() != "255") return std::nullopt;
  ++pos;  // the single whitespace before the samples
  const size_t size = static_cast<size_t>(pixels.width) * pixels.height * pixels.channels;
  if (out.size() - pos != size) return std::nullopt;
  pixels.bytes.assign(out.begin() + static_cast<std::ptrdiff_t>(pos), out.end());
  return pixels;
}

// ImageMagick's description of a file with `format` (its -format escapes).
inline std::string Identify(const std::string& path, const std::string& format) {
  return RunProgram({"identify", "-format", format, path}).out;
}

inline bool Near(Colour a, Colour b, int tolerance) {
  auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
  return close(a.red, b.red) && close(a.green, b.green) && close(a.blue, b.blue);
}

}  // namespace quill::testing
