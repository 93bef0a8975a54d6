// The save-flag rules as one table.
#include "engine/save_flags.h"

#include <FreeImage.h>

#include <array>
#include <span>

namespace quill {
namespace {

template <auto kMember>
int64_t Read(const Settings& settings) {
  return settings.*kMember;
}

// One contribution to a format's flags. With `flags` empty the setting's value itself is added;
// otherwise the value picks one entry of `flags` (values outside the list add nothing). A rule
// without a setting always adds its single entry.
struct FlagRule {
  std::string_view extension;
  int64_t (*read)(const Settings&);  // nullptr: a fixed flag
  std::span<const int32_t> flags;
};

constexpr int32_t kBmpCompression[] = {0, BMP_SAVE_RLE};
constexpr int32_t kExrCompression[] = {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44};
constexpr int32_t kJpgChroma[] = {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_420,
                                  JPEG_SUBSAMPLING_411};
constexpr int32_t kJpgSaveAs[] = {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE};
constexpr int32_t kJxrLossless[] = {JXR_LOSSLESS};
constexpr int32_t kPngCompression[] = {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED,
                                       PNG_Z_DEFAULT_COMPRESSION, PNG_Z_BEST_COMPRESSION};
constexpr int32_t kPngInterlaced[] = {0, PNG_INTERLACED};
constexpr int32_t kTgaCompression[] = {0, TARGA_SAVE_RLE};
constexpr int32_t kTiffCompression[] = {TIFF_NONE,     TIFF_CCITTFAX3, TIFF_CCITTFAX4,
                                        TIFF_PACKBITS, TIFF_DEFLATE,   TIFF_ADOBE_DEFLATE,
                                        TIFF_LZW,      TIFF_JPEG,      TIFF_LOGLUV};
// RGB and LAB add nothing; CMYK asks for separated colour.
constexpr int32_t kTiffColorModel[] = {0, TIFF_CMYK, 0};
constexpr int32_t kWebpLossless[] = {WEBP_LOSSLESS};

using S = Settings;
constexpr FlagRule kFlagRules[] = {
    {"bmp", &Read<&S::bmp_compression>, kBmpCompression},
    {"exr", &Read<&S::exr_compression>, kExrCompression},
    {"jpg", &Read<&S::jpg_quality>, {}},
    {"jpg", &Read<&S::jpg_chroma>, kJpgChroma},
    {"jpg", &Read<&S::jpg_save_as>, kJpgSaveAs},
    {"jxr", nullptr, kJxrLossless},
    {"png", &Read<&S::png_compression>, kPngCompression},
    {"png", &Read<&S::png_interlaced>, kPngInterlaced},
    {"tga", &Read<&S::tga_compression>, kTgaCompression},
    {"tiff", &Read<&S::tiff_compression>, kTiffCompression},
    {"tiff", &Read<&S::tiff_color_model>, kTiffColorModel},
    {"webp", nullptr, kWebpLossless},
};

}  // namespace

int32_t SaveFlags(std::string_view extension, const Settings& settings) {
  int32_t flags = 0;
  for (const FlagRule& rule : kFlagRules) {
    if (rule.extension != extension) continue;
    if (rule.read == nullptr) {
      flags |= rule.flags.front();
      continue;
    }
    const int64_t value = rule.read(settings);
    if (rule.flags.empty()) {
      flags |= static_cast<int32_t>(value);
    } else if (value >= 0 && value < static_cast<int64_t>(rule.flags.size())) {
      flags |= rule.flags[static_cast<size_t>(value)];
    }
  }
  return flags;
}

}  // namespace quill
