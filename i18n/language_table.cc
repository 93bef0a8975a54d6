// Loading the language table, looking texts up and filling message placeholders.
#include "i18n/language_table.h"

#include <algorithm>

#include "i18n/english_table.h"

namespace quill {
namespace {

// UTF-8 to UTF-16 code units; malformed bytes are taken one by one as U+FFFD.
std::u16string ToUtf16(std::string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    char32_t cp = 0xFFFD;
    size_t length = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6 && i + 1 < text.size()) {
      cp = ((c & 0x1F) << 6) | (text[i + 1] & 0x3F);
      length = 2;
    } else if ((c >> 4) == 14 && i + 2 < text.size()) {
      cp = ((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
      length = 3;
    } else if ((c >> 3) == 30 && i + 3 < text.size()) {
      cp = ((c & 0x07) << 18) | ((text[i + 1] & 0x3F) << 12) | ((text[i + 2] & 0x3F) << 6) |
           (text[i + 3] & 0x3F);
      length = 4;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += length;
  }
  return out;
}

// Upper case for the Latin letters of the first 256 code points; keys and group names of the
// table use nothing else.
std::u16string Upper(std::u16string text) {
  for (char16_t& c : text) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 0x20;
  }
  return text;
}

bool IsMarker(std::string_view text, std::u16string_view marker) {
  return Upper(ToUtf16(text)) == marker;
}

// The position of `needle` in `text` from `from` on, letters compared without regard to ASCII
// case; npos when absent.
size_t FindIgnoringCase(const std::string& text, std::string_view needle, size_t from) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  if (needle.empty() || text.size() < needle.size()) return std::string::npos;
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && lower(text[i + k]) == lower(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string::npos;
}

}  // namespace

LanguageTable LoadLanguageTable(std::span<const std::string_view> stored) {
  LanguageTable table;
  LanguageGroup* current = nullptr;
  for (size_t i = 0; i + 1 < stored.size() || (i < stored.size()); i += 2) {
    if (IsMarker(stored[i], u"_END_")) break;
    if (i + 1 >= stored.size()) break;
    if (IsMarker(stored[i], u"_GROUP_")) {
      if (current != nullptr) current->last = table.entry_count();
      LanguageGroup group;
      group.name = Upper(ToUtf16(stored[i + 1]));
      group.first = table.entry_count() + 1;
      group.last = table.entry_count();
      table.groups_.push_back(std::move(group));
      current = &table.groups_.back();
    } else if (current != nullptr) {
      table.entries_.push_back({Upper(ToUtf16(stored[i])), std::string(stored[i + 1])});
      current->last = table.entry_count();
    }
  }
  for (LanguageGroup& group : table.groups_) {
    if (group.last < group.first) continue;
    auto begin = table.entries_.begin() + (group.first - 1);
    auto end = table.entries_.begin() + group.last;
    // A stable sort keeps a key that stands twice in its stored order.
    std::stable_sort(begin, end, [](const LanguageEntry& a, const LanguageEntry& b) {
      return a.key < b.key;
    });
    char16_t previous = 0;
    for (int n = group.first; n <= group.last; ++n) {
      const std::u16string& key = table.entries_[n - 1].key;
      const char16_t first = key.empty() ? 0 : key[0];
      if ((n == group.first || first != previous) && !key.empty() && first < 256) {
        group.index[first] = n;
      }
      previous = first;
    }
  }
  return table;
}

LanguageTable LoadLanguageTable() { return LoadLanguageTable(EnglishLanguageTexts()); }

std::string LookupText(const LanguageTable& table, std::string_view group, std::string_view key) {
  const std::u16string group_name = Upper(ToUtf16(group));
  const std::u16string wanted = Upper(ToUtf16(key));
  int number = table.remembered_.value.load(std::memory_order_relaxed);
  if (number == 0 || table.group(number).name != group_name) {
    number = 0;
    for (int g = 1; g <= table.group_count(); ++g) {
      if (table.group(g).name == group_name) {
        number = g;
        break;
      }
    }
    table.remembered_.value.store(number, std::memory_order_relaxed);
  }
  if (number == 0 || wanted.empty() || wanted[0] > 255) return std::string(kNoStringError);
  const LanguageGroup& found = table.group(number);
  for (int n = found.index[wanted[0]]; n != 0 && n <= found.last; ++n) {
    const LanguageEntry& entry = table.entry(n);
    if (entry.key == wanted) return entry.text;
    if (wanted < entry.key) break;
  }
  return std::string(kNoStringError);
}

std::string FillPlaceholders(std::string_view tmpl, std::string_view s1, std::string_view s2,
                             std::string_view s3, std::string_view s4) {
  std::string text(tmpl);
  const std::string_view values[] = {s1, s2, s3, s4};
  const std::string_view placeholders[] = {"%s1%", "%s2%", "%s3%", "%s4%"};
  for (int i = 0; i < 4; ++i) {
    if (values[i].empty()) continue;
    // Each step searches on past what it put in, so a value is not searched in its own step.
    for (size_t at = FindIgnoringCase(text, placeholders[i], 0); at != std::string::npos;
         at = FindIgnoringCase(text, placeholders[i], at + values[i].size())) {
      text.replace(at, placeholders[i].size(), values[i]);
    }
  }
  return text;
}

}  // namespace quill
