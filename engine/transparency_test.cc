// Flattening transparency onto white.
#include "engine/transparency.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quill
