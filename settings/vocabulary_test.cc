// Keyword to code and back, and the vocabularies' agreement with the settings table.
#include "settings/vocabulary.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/settings.h"

namespace quill {
namespace {

TEST(VocabularyTest, KeywordToCode) {
  const struct {
    int vocabulary;
    const char* text;
    int32_t code;
  } cases[] = {
      {12, "lanczos", 5},
      {12, "LaNcZoS", 5},
      {12, "BICUBIC", 3},
      {4, "ZLIB9", 3},  // any compression keyword for any format: PACKBITS' code for TIFF
      {4, "lzw", 6},
      {4, "RLE", 1},
      {4, "ZIP", 1},
      {1, "48hs", 4},
      {1, "48", 5},
      {16, "strikethrought", 2},
      {16, "STRIKETHROUGH", 0},  // only the program's own spelling
      {19, "bottomright", 8},
      {21, "custom", 2},
      {8, "progressive", 3},
      {8, "progresive", 0},
      {8, " progressive", 0},  // callers trim; the lookup compares exactly
      {12, "", 0},
      {-1, "NONE", 0},  // no such vocabulary
      {kVocabularyCount, "NONE", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeywordToCode(c.vocabulary, c.text), c.code) << c.vocabulary << " " << c.text;
  }
  for (int v = 0; v < kVocabularyCount; ++v) EXPECT_EQ(KeywordToCode(v, "nonsense"), 0) << v;
}

TEST(VocabularyTest, CodeToKeyword) {
  const struct {
    int vocabulary;
    int32_t code;
    const char* format;
    const char* keyword;
  } cases[] = {
      {4, 1, "png", "ZLIB1"},
      {4, 1, "tiff", "CCITTFAX3"},
      {4, 1, "TIFF", "CCITTFAX3"},
      {4, 1, "bmp", "RLE"},
      {4, 1, "tga", "RLE"},
      {4, 1, "exr", "ZIP"},
      {4, 3, "tiff", "PACKBITS"},
      {4, 0, "png", "NONE"},
      {4, 4, "png", ""},
      {4, 1, "jpg", ""},
      {4, 1, "", ""},
      {2, 7, "", ""},
      {2, 3, "", "LAST"},
      {19, 8, "", "BOTTOMRIGHT"},
      {16, 2, "", "STRIKETHROUGHT"},
      {20, 0, "", "FIXED"},
      {20, 1, "", ""},
      {12, -1, "", ""},
      {99, 0, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodeToKeyword(c.vocabulary, c.code, c.format), c.keyword)
        << c.vocabulary << " " << c.code << " " << c.format;
  }
}

TEST(VocabularyTest, ListsAreUpperCaseAndRoundTrip) {
  for (int v = 0; v < kVocabularyCount; ++v) {
    SCOPED_TRACE(v);
    const std::span<const Keyword> list = VocabularyKeywords(v);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().code, 0);  // the code of a word that is no keyword names a keyword
    for (const Keyword& k : list) {
      for (char c : k.word) EXPECT_FALSE(c >= 'a' && c <= 'z') << k.word;
      EXPECT_EQ(KeywordToCode(v, k.word), k.code) << k.word;
      if (v != kCompressionVocabulary) {
        EXPECT_EQ(CodeToKeyword(v, k.code), k.word);
      }
    }
  }
  // Each format's compression list is part of the combined one and has distinct codes.
  std::set<std::string_view> combined;
  for (const Keyword& k : VocabularyKeywords(kCompressionVocabulary)) combined.insert(k.word);
  for (const char* format : {"bmp", "tga", "exr", "png", "tiff"}) {
    const std::span<const Keyword> list = CompressionKeywords(format);
    ASSERT_FALSE(list.empty()) << format;
    for (const Keyword& k : list) {
      EXPECT_TRUE(combined.count(k.word)) << k.word;
      EXPECT_EQ(CodeToKeyword(kCompressionVocabulary, k.code, format), k.word) << format;
    }
  }
  EXPECT_EQ(CompressionKeywords("tiff").size(), 9u);
  EXPECT_TRUE(CompressionKeywords("jpg").empty());
  EXPECT_TRUE(VocabularyKeywords(kVocabularyCount).empty());
}

TEST(VocabularyTest, KeywordSettingsDefaultToAKeyword) {
  Settings s;
  ResetSettings(s, DefaultsFlavour::kDesktop);
  for (const SettingInfo& row : SettingsTable()) {
    if (row.kind != ValueKind::kKeyword) continue;
    const int32_t code = static_cast<int32_t>(GetNumber(s, row));
    const std::string_view format = row.vocabulary == kCompressionVocabulary ? row.format : "";
    EXPECT_NE(CodeToKeyword(row.vocabulary, code, format), "") << row.key;
  }
}

}  // namespace
}  // namespace quill
