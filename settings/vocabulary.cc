// The keyword vocabularies as data.
#include "settings/vocabulary.h"

#include "settings/ascii.h"

namespace quill {
namespace {

constexpr Keyword kDdsLoadAs[] = {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}};
constexpr Keyword kRawLoadAs[] = {{"AUTO", 0}, {"8", 1},    {"16", 2},
                                  {"24", 3},   {"48HS", 4}, {"48", 5}};
constexpr Keyword kFrameLoading[] = {
    {"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}};
constexpr Keyword kToneMapping[] = {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}};
constexpr Keyword kCompression[] = {
    {"NONE", 0},      {"RLE", 1},      {"ZIP", 1},     {"PIZ", 2},          {"PXR24", 3},
    {"B44", 4},       {"ZLIB1", 1},    {"ZLIB6", 2},   {"ZLIB9", 3},        {"CCITTFAX3", 1},
    {"CCITTFAX4", 2}, {"PACKBITS", 3}, {"DEFLATE", 4}, {"ADOBEDEFLATE", 5}, {"LZW", 6},
    {"JPEG", 7},      {"LOGLUV", 8}};
constexpr Keyword kBmpTgaCompression[] = {{"NONE", 0}, {"RLE", 1}};
constexpr Keyword kExrCompression[] = {
    {"NONE", 0}, {"ZIP", 1}, {"PIZ", 2}, {"PXR24", 3}, {"B44", 4}};
constexpr Keyword kPngCompression[] = {{"NONE", 0}, {"ZLIB1", 1}, {"ZLIB6", 2}, {"ZLIB9", 3}};
constexpr Keyword kTiffCompression[] = {{"NONE", 0},     {"CCITTFAX3", 1}, {"CCITTFAX4", 2},
                                        {"PACKBITS", 3}, {"DEFLATE", 4},   {"ADOBEDEFLATE", 5},
                                        {"LZW", 6},      {"JPEG", 7},      {"LOGLUV", 8}};
constexpr Keyword kColorTable[] = {{"AUTO", 0}, {"EXACT", 1}};
constexpr Keyword kColorModel[] = {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}};
constexpr Keyword kChroma[] = {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}};
constexpr Keyword kSaveAs[] = {
    {"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}};
constexpr Keyword kRotationType[] = {{"SIMPLE", 0}, {"ADVANCED", 1}};
constexpr Keyword kUnit[] = {{"PIXELS", 0}, {"PERCENT", 1}};
constexpr Keyword kResizeType[] = {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}};
constexpr Keyword kFilter[] = {{"BOX", 0},     {"BILINEAR", 1},   {"BSPLINE", 2},
                               {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}};
constexpr Keyword kFrame[] = {{"NONE", 0}, {"SOLID", 1}};
constexpr Keyword kWatermark[] = {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}};
constexpr Keyword kFontStyle[] = {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}};
constexpr Keyword kFontEffect[] = {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}};
constexpr Keyword kAlignment[] = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
constexpr Keyword kBoundary[] = {{"IMAGE", 0}, {"FRAME", 1}};
constexpr Keyword kPosition[] = {{"TOPLEFT", 0},    {"TOPCENTER", 1},    {"TOPRIGHT", 2},
                                 {"MIDDLELEFT", 3}, {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
                                 {"BOTTOMLEFT", 6}, {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}};
constexpr Keyword kSize[] = {{"FIXED", 0}};
constexpr Keyword kTimestamp[] = {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}};

const std::span<const Keyword> kVocabularies[kVocabularyCount] = {
    kDdsLoadAs,  kRawLoadAs, kFrameLoading, kToneMapping,  kCompression, kColorTable,
    kColorModel, kChroma,    kSaveAs,       kRotationType, kUnit,        kResizeType,
    kFilter,     kFrame,     kWatermark,    kFontStyle,    kFontEffect,  kAlignment,
    kBoundary,   kPosition,  kSize,         kTimestamp};

}  // namespace

std::span<const Keyword> VocabularyKeywords(int vocabulary) {
  if (vocabulary < 0 || vocabulary >= kVocabularyCount) return {};
  return kVocabularies[vocabulary];
}

std::span<const Keyword> CompressionKeywords(std::string_view format) {
  const std::string f = AsciiUpper(format);
  if (f == "BMP" || f == "TGA") return kBmpTgaCompression;
  if (f == "EXR") return kExrCompression;
  if (f == "PNG") return kPngCompression;
  if (f == "TIFF") return kTiffCompression;
  return {};
}

int32_t KeywordToCode(int vocabulary, std::string_view text) {
  const std::string word = AsciiUpper(text);
  for (const Keyword& k : VocabularyKeywords(vocabulary)) {
    if (k.word == word) return k.code;
  }
  return 0;
}

std::string CodeToKeyword(int vocabulary, int32_t code, std::string_view format) {
  const std::span<const Keyword> list = vocabulary == kCompressionVocabulary
                                            ? CompressionKeywords(format)
                                            : VocabularyKeywords(vocabulary);
  for (const Keyword& k : list) {
    if (k.code == code) return std::string(k.word);
  }
  return "";
}

}  // namespace quill
