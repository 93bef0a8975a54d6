// Flattening transparency onto white.
#include "engine/transparency.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/image_library.h"
#include "engine/test_images.h"

namespace quill {
namespace {

using testing::Colour;
using testing::kBlue;
using testing::kGreen;
using testing::kWhite;
using testing::MakeTestImage;
using testing::PixelAt;
using testing::TestKind;

class TransparencyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseImageLibrary(); }
};

TEST_F(TransparencyTest, TransparentPixelsBecomeWhiteAndTheRestStays) {
  struct Case {
    TestKind kind;
    Colour right;
  };
  for (const Case& c : {Case{TestKind::kRgba32, kBlue}, Case{TestKind::kPalette8, kGreen}}) {
    const Image flat = FlattenTransparency(MakeTestImage(c.kind));
    ASSERT_TRUE(flat);
    EXPECT_EQ(flat.bpp(), 24);
    EXPECT_FALSE(FreeImage_IsTransparent(flat.get()));
    EXPECT_EQ(PixelAt(flat, 0, 0), kWhite);
    EXPECT_EQ(PixelAt(flat, 31, 47), kWhite);
    EXPECT_EQ(PixelAt(flat, 32, 0), c.right);
    EXPECT_EQ(PixelAt(flat, 63, 47), c.right);
  }
}

TEST_F(TransparencyTest, LowDepthPalettesWithTransparencyAreWidenedFirst) {
  // A 4-bit palette whose first entry is transparent.
  Image image = MakeTestImage(TestKind::kBit4);
  BYTE table[2] = {0, 255};
  FreeImage_SetTransparencyTable(image.get(), table, 2);
  const Image flat = FlattenTransparency(std::move(image));
  ASSERT_TRUE(flat);
  EXPECT_EQ(flat.bpp(), 24);
  EXPECT_EQ(PixelAt(flat, 0, 0), kWhite);
  EXPECT_EQ(PixelAt(flat, 63, 0), kBlue);
}

TEST_F(TransparencyTest, OpaqueImagesArePassedOnAsTheyAre) {
  for (TestKind kind : {TestKind::kRgb24, TestKind::kRgba32Opaque, TestKind::kPalette8Opaque,
                        TestKind::kGrey8, TestKind::kBit1}) {
    Image image = MakeTestImage(kind);
    FIBITMAP* const handle = image.get();
    EXPECT_EQ(FlattenTransparency(std::move(image)).get(), handle);
  }
  EXPECT_FALSE(FlattenTransparency(Image()));
}

TEST_F(TransparencyTest, GivesExactlyWhatTheLibrarysCompositingGives) {
  // Every alpha against every value in each channel, with a resolution and a comment that the
  // library's result does not keep either.
  Image image(
      FreeImage_Allocate(256, 256, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
  for (int y = 0; y < 256; ++y) {
    BYTE* p = FreeImage_GetScanLine(image.get(), y);
    for (int x = 0; x < 256; ++x, p += 4) {
      p[FI_RGBA_RED] = static_cast<BYTE>(x);
      p[FI_RGBA_GREEN] = static_cast<BYTE>(255 - x);
      p[FI_RGBA_BLUE] = static_cast<BYTE>(x * 7);
      p[FI_RGBA_ALPHA] = static_cast<BYTE>(y);
    }
  }
  FreeImage_SetDotsPerMeterX(image.get(), 11811);
  FreeImage_SetDotsPerMeterY(image.get(), 11811);
  testing::SetComment(image, "hello");
  const char profile[] = "not a real profile, but carried all the same";
  FreeImage_CreateICCProfile(image.get(), const_cast<char*>(profile), sizeof profile);

  RGBQUAD white{255, 255, 255, 0};
  const Image expected(FreeImage_Composite(image.get(), FALSE, &white, nullptr));
  const Image flat = FlattenTransparency(Image(FreeImage_Clone(image.get())));
  ASSERT_TRUE(flat);
  ASSERT_EQ(flat.bpp(), 24);
  for (int y = 0; y < 256; ++y) {
    ASSERT_EQ(0, std::memcmp(FreeImage_GetScanLine(flat.get(), y),
                             FreeImage_GetScanLine(expected.get(), y), 256 * 3))
        << "alpha " << y;
  }
  EXPECT_EQ(FreeImage_GetDotsPerMeterX(flat.get()), FreeImage_GetDotsPerMeterX(expected.get()));
  EXPECT_EQ(FreeImage_GetDotsPerMeterY(flat.get()), FreeImage_GetDotsPerMeterY(expected.get()));
  EXPECT_EQ(FreeImage_GetMetadataCount(FIMD_COMMENTS, flat.get()),
            FreeImage_GetMetadataCount(FIMD_COMMENTS, expected.get()));
  ASSERT_GT(FreeImage_GetICCProfile(image.get())->size, 0u);  // dropped by both
  EXPECT_EQ(FreeImage_GetICCProfile(flat.get())->size,
            FreeImage_GetICCProfile(expected.get())->size);
}

}  // namespace
}  // namespace quill
