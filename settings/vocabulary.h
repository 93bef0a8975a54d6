// The keyword vocabularies: the words the console accepts for keyword settings and their codes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quill {

struct Keyword {
  std::string_view word;  // upper case
  int32_t code;
};

inline constexpr int kVocabularyCount = 22;
inline constexpr int kCompressionVocabulary = 4;

// The keywords of a vocabulary in order; for vocabulary 4 the combined list of every format.
std::span<const Keyword> VocabularyKeywords(int vocabulary);

// The compression keywords of one format ("bmp", "tga", "exr", "png", "tiff", any case); empty
// for a format without compression settings.
std::span<const Keyword> CompressionKeywords(std::string_view format);

// The code of the first keyword equal to the upper-cased text, 0 when none is.
int32_t KeywordToCode(int vocabulary, std::string_view text);

// The keyword of a code; vocabulary 4 looks in the list of `format`. Empty for an unknown code.
std::string CodeToKeyword(int vocabulary, int32_t code, std::string_view format = {});

}  // namespace quill
