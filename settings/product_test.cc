// Version text, program title and the edition lists.
#include "settings/product.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(ProductTest, VersionTextDropsZeroPatch) {
  const struct {
    int number;
    const char* text;
  } cases[] = {{280, "2.8"}, {281, "2.8.1"}, {300, "3.0"}, {109, "1.0.9"}};
  for (const auto& c : cases) EXPECT_EQ(VersionText(c.number), c.text) << c.number;
}

TEST(ProductTest, TitleAndEditionLists) {
  EXPECT_EQ(ProgramTitle(), "Quillmere 2.8");
  EXPECT_EQ(EnabledInputFormats(), std::vector<std::string>{"png"});
  EXPECT_EQ(EnabledOutputFormats(), std::vector<std::string>{"jpg"});
}

}  // namespace
}  // namespace quill
