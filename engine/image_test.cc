// The image owner: one unload per image, whatever is moved where.
#include "engine/image.h"

#include <gtest/gtest.h>

#include <utility>

#include "engine/image_library.h"

namespace quill {
namespace {

TEST(Image, OwnershipMovesAndEndsInOneUnload) {
  InitialiseImageLibrary();
  Image first(FreeImage_Allocate(5, 4, 24));
  FIBITMAP* const handle = first.get();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(first.width(), 5);
  EXPECT_EQ(first.height(), 4);
  EXPECT_EQ(first.bpp(), 24);
  EXPECT_EQ(first.type(), FIT_BITMAP);

  Image second(std::move(first));
  EXPECT_TRUE(first.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
  EXPECT_EQ(second.get(), handle);

  Image third(FreeImage_Allocate(2, 2, 8));
  third = std::move(second);  // unloads the 2 x 2 image
  EXPECT_EQ(third.get(), handle);
  Image& alias = third;
  third = std::move(alias);  // moving onto itself keeps the image
  EXPECT_EQ(third.get(), handle);

  FIBITMAP* released = third.Release();
  EXPECT_TRUE(third.empty());
  FreeImage_Unload(released);
}

TEST(Image, EmptyImagesReportNothing) {
  const Image empty;
  EXPECT_FALSE(empty);
  EXPECT_EQ(empty.width(), 0);
  EXPECT_EQ(empty.height(), 0);
  EXPECT_EQ(empty.bpp(), 0);
  EXPECT_EQ(empty.type(), FIT_UNKNOWN);
  Image reset(FreeImage_Allocate(2, 2, 24));
  reset.Reset();
  EXPECT_TRUE(reset.empty());
}

}  // namespace
}  // namespace quill
