// The language table: every text shown to a person, looked up by group and key, and the
// placeholder filling used by message templates.
#pragma once

#include <array>
#include <atomic>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// What a lookup yields when the group or the key is not in the table.
inline constexpr std::string_view kNoStringError = "%NO_STRING_ERROR%";

// One group of the loaded table. Entry numbers count from 1 across the whole table.
struct LanguageGroup {
  std::u16string name;  // upper case
  int first = 1;        // number of the group's first entry
  int last = 0;         // number of its last entry; below `first` when the group is empty
  // For a character code n (0 to 255): the number of the first entry, in sorted order, whose
  // key begins with that character; 0 when no key does.
  std::array<int, 256> index{};
};

struct LanguageEntry {
  std::u16string key;  // upper case; the entries of a group are sorted by it
  std::string text;    // as stored (UTF-8)
};

// The in-memory form of a language table. Keys are kept as UTF-16 because their order, and the
// first-character index, are defined on UTF-16 code units.
//
// The table is immutable once loaded except for the remembered group number, which speeds up
// successive lookups in one group. That number is an atomic read once per lookup, so lookups
// from several threads are safe, though the program only looks texts up on its main thread.
class LanguageTable {
 public:
  // An empty table: every lookup yields kNoStringError.
  LanguageTable() = default;

  int group_count() const { return static_cast<int>(groups_.size()); }
  int entry_count() const { return static_cast<int>(entries_.size()); }
  // `number` from 1 to group_count().
  const LanguageGroup& group(int number) const { return groups_[number - 1]; }
  // `number` from 1 to entry_count().
  const LanguageEntry& entry(int number) const { return entries_[number - 1]; }
  // The group number the last lookup settled on; 0 when none.
  int remembered_group() const { return remembered_.value.load(std::memory_order_relaxed); }

 private:
  // An atomic that copies its value, so that the table stays copyable and movable.
  struct RememberedGroup {
    std::atomic<int> value{0};
    RememberedGroup() = default;
    RememberedGroup(const RememberedGroup& other) : value(other.value.load()) {}
    RememberedGroup& operator=(const RememberedGroup& other) {
      value.store(other.value.load());
      return *this;
    }
  };

  friend LanguageTable LoadLanguageTable(std::span<const std::string_view> stored);
  friend std::string LookupText(const LanguageTable& table, std::string_view group,
                                std::string_view key);

  std::vector<LanguageGroup> groups_;
  std::vector<LanguageEntry> entries_;
  mutable RememberedGroup remembered_;
};

// Builds the table from a stored sequence of texts read two at a time: a pair whose first text
// is "_GROUP_" opens a group named by the second text, any other pair adds a (key, text) entry
// to the group opened last, and a first text "_END_" ends the table (markers in any letter
// case). Entries before the first group marker have no group and are dropped; a sequence
// without an end marker ends with its last complete pair.
LanguageTable LoadLanguageTable(std::span<const std::string_view> stored);

// Builds the program's built-in English table.
LanguageTable LoadLanguageTable();

// The text stored under `key` in `group`, both matched without regard to letter case, or
// kNoStringError when there is none. Never fails.
std::string LookupText(const LanguageTable& table, std::string_view group, std::string_view key);

// Puts up to four values into a message template: every "%s1%" (also "%S1%") is replaced by
// s1, then every "%s2%" in that result by s2, and so on up to s4. An empty value leaves its
// placeholder as it is; a value's own text is not searched again in its own step. Numbers are
// passed as their decimal text.
std::string FillPlaceholders(std::string_view tmpl, std::string_view s1 = {},
                             std::string_view s2 = {}, std::string_view s3 = {},
                             std::string_view s4 = {});

}  // namespace quill
