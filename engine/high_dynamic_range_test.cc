// Narrowing wide samples and tone-mapping high-range images, alpha included.
#include "engine/high_dynamic_range.h"

#include <gtest/gtest.h>

#include "engine/image_library.h"
#include "engine/test_images.h"

namespace quill {
namespace {

using testing::Colour;
using testing::MakeTestImage;
using testing::PixelAt;
using testing::TestKind;

class HighDynamicRangeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseImageLibrary(); }
};

TEST_F(HighDynamicRangeTest, SixteenBitGreyBecomesEightBitGreyByItsHighByte) {
  const Image grey = NarrowGreySamples(MakeTestImage(TestKind::kGrey16));
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey.type(), FIT_BITMAP);
  EXPECT_EQ(grey.bpp(), 8);
  EXPECT_EQ(FreeImage_GetColorType(grey.get()), FIC_MINISBLACK);
  for (unsigned x : {0u, 17u, 40u, 63u}) {
    EXPECT_EQ(PixelAt(grey, x, 0).red, (x * 65535 / 63) >> 8) << x;
  }
}

TEST_F(HighDynamicRangeTest, NarrowingLeavesOtherImagesAlone) {
  for (TestKind kind : {TestKind::kRgb24, TestKind::kPalette8, TestKind::kRgb16, TestKind::kRgba16,
                        TestKind::kBit1}) {
    Image image = MakeTestImage(kind);
    FIBITMAP* const handle = image.get();
    EXPECT_EQ(NarrowGreySamples(std::move(image)).get(), handle);
  }
  EXPECT_FALSE(NarrowGreySamples(Image()));
}

TEST_F(HighDynamicRangeTest, UpTo32BitsNothingIsToneMapped) {
  for (TestKind kind : {TestKind::kRgb24, TestKind::kRgba32, TestKind::kGrey8}) {
    Image image = MakeTestImage(kind);
    FIBITMAP* const handle = image.get();
    EXPECT_EQ(ReduceHighDynamicRange(std::move(image)).get(), handle);
  }
  EXPECT_FALSE(ReduceHighDynamicRange(Image()));
}

TEST_F(HighDynamicRangeTest, FortyEightBitsAreToneMappedToTwentyFour) {
  const Image reduced = ReduceHighDynamicRange(MakeTestImage(TestKind::kRgb16));
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced.type(), FIT_BITMAP);
  EXPECT_EQ(reduced.bpp(), 24);
  // Pure red and pure blue stay pure in hue.
  const Colour left = PixelAt(reduced, 0, 0);
  const Colour right = PixelAt(reduced, 63, 0);
  EXPECT_GT(left.red, 200);
  EXPECT_EQ(left.blue, 0);
  EXPECT_GT(right.blue, 200);
  EXPECT_EQ(right.red, 0);
}

TEST_F(HighDynamicRangeTest, SixtyFourBitsKeepTheirTransparency) {
  const Image reduced = ReduceHighDynamicRange(MakeTestImage(TestKind::kRgba16));
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced.bpp(), 32);
  EXPECT_TRUE(FreeImage_IsTransparent(reduced.get()));
  RGBQUAD left{}, right{};
  FreeImage_GetPixelColor(reduced.get(), 0, 0, &left);
  FreeImage_GetPixelColor(reduced.get(), 63, 0, &right);
  EXPECT_EQ(left.rgbReserved, 0);
  EXPECT_EQ(right.rgbReserved, 255);
  EXPECT_GT(right.rgbBlue, 200);
}

TEST_F(HighDynamicRangeTest, OpaqueSixtyFourBitsBecomeTwentyFour) {
  Image image = MakeTestImage(TestKind::kRgba16);
  for (unsigned y = 0; y < 48; ++y) {
    auto* row =
        reinterpret_cast<FIRGBA16*>(FreeImage_GetScanLine(image.get(), static_cast<int>(y)));
    for (unsigned x = 0; x < 64; ++x) row[x].alpha = 65535;
  }
  const Image reduced = ReduceHighDynamicRange(std::move(image));
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced.bpp(), 24);
}

}  // namespace
}  // namespace quill
