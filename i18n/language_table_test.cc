// Loading the language table, lookups and placeholder filling.
#include "i18n/language_table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quill {
namespace {

TEST(LanguageTableTest, BuiltInTableHasItsGroupsAndCounts) {
  const LanguageTable table = LoadLanguageTable();
  const struct {
    const char* name;
    int count;
  } groups[] = {{"MENU", 28},         {"GENERAL", 10}, {"MSG", 41},
                {"DIALOG", 16},       {"PREFERENCES", 214},
                {"ABOUT", 4},         {"CUSTOM-CONVERTER", 4}};
  ASSERT_EQ(table.group_count(), 7);
  for (int g = 1; g <= 7; ++g) {
    const LanguageGroup& group = table.group(g);
    EXPECT_EQ(group.name, std::u16string(groups[g - 1].name, groups[g - 1].name +
                                                                std::strlen(groups[g - 1].name)));
    EXPECT_EQ(group.last - group.first + 1, groups[g - 1].count) << groups[g - 1].name;
  }
}

TEST(LanguageTableTest, LookupIgnoresCaseAndNeverFails) {
  const LanguageTable table = LoadLanguageTable();
  const struct {
    const char* group;
    const char* key;
    const char* text;
  } cases[] = {
      {"menu", "new", "New"},
      {"Menu", "Open", "Open..."},
      {"MSG", "files converted", "Files converted: %s1% of %s2%"},
      {"Msg", "Conversion complete", "Conversion complete"},
      {"Msg", "Conversion is not complete", "Conversion stopped"},
      {"General", "Importing", "Importing..."},
      {"Preferences", "Medium", "Medium"},
      {"Custom-Converter", "Title", "Find a File Converter"},
      {"Menu", "No Such Key", "%NO_STRING_ERROR%"},
      {"No Such Group", "New", "%NO_STRING_ERROR%"},
      {"Menu", "", "%NO_STRING_ERROR%"},
  };
  for (const auto& c : cases) EXPECT_EQ(LookupText(table, c.group, c.key), c.text) << c.key;
  EXPECT_EQ(LookupText(LanguageTable(), "Menu", "New"), "%NO_STRING_ERROR%");
}

TEST(LanguageTableTest, LoaderSortsKeysAndIndexesFirstCharacters) {
  const std::string_view stored[] = {"_group_", "One", "beta", "B",  "Alpha", "A", "apple", "P",
                                     "_GROUP_", "Empty", "_GROUP_", "Two", "x", "X", "_END_",
                                     "late", "never read"};
  const LanguageTable table = LoadLanguageTable(stored);
  ASSERT_EQ(table.group_count(), 3);
  ASSERT_EQ(table.entry_count(), 4);
  EXPECT_EQ(table.entry(1).key, u"ALPHA");
  EXPECT_EQ(table.entry(2).key, u"APPLE");
  EXPECT_EQ(table.entry(3).key, u"BETA");
  EXPECT_EQ(table.group(1).index['A'], 1);
  EXPECT_EQ(table.group(1).index['B'], 3);
  EXPECT_EQ(table.group(1).index['C'], 0);
  EXPECT_LT(table.group(2).last, table.group(2).first);
  EXPECT_EQ(LookupText(table, "one", "APPLE"), "P");
  EXPECT_EQ(LookupText(table, "two", "x"), "X");
  EXPECT_EQ(LookupText(table, "empty", "x"), "%NO_STRING_ERROR%");
  EXPECT_EQ(LookupText(table, "one", "late"), "%NO_STRING_ERROR%");
}

TEST(FillPlaceholdersTest, Cases) {
  const struct {
    const char* tmpl;
    const char* s1;
    const char* s2;
    const char* expected;
  } cases[] = {
      {"Import complete, new files added: %s1%", "3", "", "Import complete, new files added: 3"},
      {"Import complete, new files added: %s1%", "", "", "Import complete, new files added: %s1%"},
      {"%S1% and %s1%", "x", "", "x and x"},
      {"%s1% of %s2%", "2", "5", "2 of 5"},
      {"%s1%", "%s2%", "y", "y"},
      {"%s1%", "a%s1%", "", "a%s1%"},
      {"", "x", "y", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FillPlaceholders(c.tmpl, c.s1, c.s2), c.expected) << c.tmpl;
}

}  // namespace
}  // namespace quill
