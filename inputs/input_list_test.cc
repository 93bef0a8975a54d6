#include "inputs/input_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "inputs/add_input_file.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

using ::quill::testing::TempFolder;
using ::quill::testing::WriteFile;

// The hash written out over UTF-16 text, independently of the UTF-8 decoding of the code.
uint32_t ReferenceHash(const std::u16string& text) {
  uint32_t h = 0;
  for (char16_t unit : text) h = h * 65599u + static_cast<uint32_t>(unit);
  return h;
}

std::u16string FromAscii(const std::string& text) {
  std::u16string out;
  for (char c : text) {
    EXPECT_LT(static_cast<unsigned char>(c), 0x80) << text;
    out.push_back(static_cast<char16_t>(c));
  }
  return out;
}

uint32_t ReferenceSlot(const std::string& ascii_path) {
  return ReferenceHash(FromAscii(ascii_path)) % 512;
}

std::vector<std::string> Keys(const InputList& list) {
  std::vector<std::string> keys;
  for (const InputItem& item : list) keys.push_back(item.path);
  return keys;
}

std::vector<std::string> KeysInAddedOrder(const InputList& list) {
  std::vector<std::string> keys;
  list.ForEachInAddedOrder([&keys](const InputItem& item) { keys.push_back(item.path); });
  return keys;
}

// The conversion order expected for paths added in the given order: slots ascending, and in a
// slot the most recently added first.
std::vector<std::string> ExpectedOrder(const std::vector<std::string>& added) {
  std::vector<std::pair<uint32_t, std::string>> slotted;
  for (auto it = added.rbegin(); it != added.rend(); ++it) {
    slotted.emplace_back(ReferenceSlot(*it), *it);
  }
  std::stable_sort(slotted.begin(), slotted.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> order;
  for (auto& [slot, path] : slotted) order.push_back(std::move(path));
  return order;
}

TEST(PathHashTest, CountsUtf16CodeUnits) {
  struct Case {
    const char* utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"/photos/a.png", u"/photos/a.png"},
      {"/fotos/\xC3\xA9t\xC3\xA9.png", u"/fotos/\u00E9t\u00E9.png"},  // two-byte
      {"/\xE5\x86\x99\xE7\x9C\x9F/x.png", u"/\u5199\u771F/x.png"},    // three-byte
      {"/\xF0\x9F\x93\xB7/cam.png", u"/\U0001F4F7/cam.png"},          // surrogate pair
      {"/mix\xC3\xA9\xF0\x9F\x98\x80z", u"/mix\u00E9\U0001F600z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathHash(c.utf8), ReferenceHash(c.utf16)) << c.utf8;
    EXPECT_EQ(PathSlot(c.utf8), ReferenceHash(c.utf16) % 512) << c.utf8;
  }
}

TEST(PathHashTest, InvalidBytesStayDistinct) {
  // A stray continuation byte, a cut-off sequence and an overlong form each count per byte.
  EXPECT_EQ(PathHash("a\x80z"), ReferenceHash(u"a\xDC80z"));
  EXPECT_EQ(PathHash("a\xE5\x86"), ReferenceHash(u"a\xDCE5\xDC86"));
  EXPECT_EQ(PathHash("\xC0\xAF"), ReferenceHash(u"\xDCC0\xDCAF"));
  EXPECT_NE(PathHash("a\x80"), PathHash("a\x81"));
}

class InputListOrderTest : public ::testing::Test {
 protected:
  InputListOrderTest() {
    list_.SetAcceptedExtensions({"png"});
    job_.console_flag = 1;
  }

  std::string MakeFile(const std::string& name) {
    const std::string path = dir_ / name;
    WriteFile(path, "x");
    return path;
  }

  TempFolder dir_;
  InputList list_;
  JobState job_;
};

TEST_F(InputListOrderTest, IterationFollowsSlotsAndChainsOfCollidingPaths) {
  // Find names whose paths share slots: three in one slot, two in another.
  std::map<uint32_t, std::vector<std::string>> by_slot;
  for (int i = 0; i < 2000; ++i) {
    const std::string name = "img" + std::to_string(i) + ".png";
    by_slot[ReferenceSlot(dir_ / name)].push_back(name);
  }
  std::vector<std::vector<std::string>> crowded;
  for (const auto& [slot, names] : by_slot) {
    if (names.size() >= 3) crowded.push_back(names);
  }
  ASSERT_GE(crowded.size(), 3u);
  const std::vector<std::string>& a = crowded[0];
  const std::vector<std::string>& b = crowded[crowded.size() / 2];
  const std::vector<std::string>& c = crowded.back();

  // Interleaved, with the later slot first, so that neither adding order nor slot order alone
  // gives the expected sequence.
  const std::vector<std::string> names = {c[0], a[0], b[0], a[1], c[1], a[2], b[1]};
  std::vector<std::string> added;
  for (const std::string& name : names) {
    added.push_back(MakeFile(name));
    ASSERT_TRUE(AddInputFile(list_, job_, added.back()));
  }
  const std::vector<std::string> expected = {dir_ / a[2], dir_ / a[1], dir_ / a[0], dir_ / b[1],
                                             dir_ / b[0], dir_ / c[1], dir_ / c[0]};
  EXPECT_EQ(Keys(list_), expected);
  EXPECT_EQ(Keys(list_), ExpectedOrder(added));
  EXPECT_EQ(KeysInAddedOrder(list_), added);

  // Taking one out of the middle of a chain leaves the others in place; added again, it goes
  // to the head of its chain.
  ASSERT_TRUE(list_.Remove(dir_ / a[1]));
  EXPECT_EQ(Keys(list_), (std::vector<std::string>{dir_ / a[2], dir_ / a[0], dir_ / b[1],
                                                   dir_ / b[0], dir_ / c[1], dir_ / c[0]}));
  ASSERT_TRUE(AddInputFile(list_, job_, dir_ / a[1]));
  EXPECT_EQ(Keys(list_).front(), dir_ / a[1]);
  EXPECT_EQ(KeysInAddedOrder(list_).back(), dir_ / a[1]);
}

TEST_F(InputListOrderTest, ManyItemsKeepTheTableOrderThroughRemovals) {
  std::vector<std::string> added;
  constexpr int kFiles = 800;  // more than the slots, so that many chains are long
  for (int i = 0; i < kFiles; ++i) {
    added.push_back(MakeFile("f" + std::to_string(i * 7919 % kFiles) + ".png"));
    ASSERT_TRUE(AddInputFile(list_, job_, added.back()));
  }
  EXPECT_EQ(list_.Count(), static_cast<size_t>(kFiles));
  EXPECT_EQ(Keys(list_), ExpectedOrder(added));

  // Remove every third item, including heads and tails of chains.
  std::vector<std::string> kept;
  for (size_t i = 0; i < added.size(); ++i) {
    if (i % 3 == 0) {
      ASSERT_TRUE(list_.Remove(added[i]));
      EXPECT_FALSE(list_.Remove(added[i]));
      EXPECT_EQ(list_.Find(added[i]), nullptr);
    } else {
      kept.push_back(added[i]);
    }
  }
  EXPECT_EQ(list_.Count(), kept.size());
  EXPECT_EQ(Keys(list_), ExpectedOrder(kept));
  EXPECT_EQ(KeysInAddedOrder(list_), kept);

  uint64_t last = 0;
  bool first = true;
  list_.ForEachInAddedOrder([&](const InputItem& item) {
    if (!first) {
      EXPECT_GT(item.sequence, last);
    }
    first = false;
    last = item.sequence;
  });

  list_.Clear();
  EXPECT_TRUE(list_.Empty());
  EXPECT_TRUE(list_.begin() == list_.end());
  EXPECT_TRUE(KeysInAddedOrder(list_).empty());
  EXPECT_EQ(list_.accepted_extensions(), std::vector<std::string>{"png"});
  ASSERT_TRUE(AddInputFile(list_, job_, added[0]));
  EXPECT_EQ(Keys(list_), std::vector<std::string>{added[0]});
}

TEST(InputListTest, AMillionPathsGoInAndComeOutInTableOrder) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr int kCount = 200000;  // the sanitizers slow each file look-up down a lot
#else
  constexpr int kCount = 1000000;
#endif
  InputList list;
  list.SetAcceptedExtensions({"png"});
  JobState job;
  job.console_flag = 1;
  // Paths below a folder that does not exist: the list's cost, not the disk's, is measured.
  char name[64];
  for (int i = 0; i < kCount; ++i) {
    std::snprintf(name, sizeof name, "/nonexistent-quill-folder/%07d.png", i);
    ASSERT_TRUE(AddInputFile(list, job, name));
  }
  EXPECT_FALSE(AddInputFile(list, job, "/nonexistent-quill-folder/0000000.png"));
  EXPECT_EQ(list.Count(), static_cast<size_t>(kCount));

  size_t visited = 0;
  uint32_t previous_slot = 0;
  for (const InputItem& item : list) {
    const uint32_t slot = PathSlot(item.path);
    ASSERT_GE(slot, previous_slot);
    previous_slot = slot;
    ++visited;
  }
  EXPECT_EQ(visited, static_cast<size_t>(kCount));
}

}  // namespace
}  // namespace quill
