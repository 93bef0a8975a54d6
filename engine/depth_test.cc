// The automatic depth choice and the conversion to each output depth.
#include "engine/depth.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/image_library.h"
#include "engine/test_images.h"

namespace quill {
namespace {

using testing::MakeTestImage;
using testing::TestKind;

TEST(AutomaticDepth, PicksTheFirstAllowedDepthThatHoldsTheSource) {
  const FormatRegistry formats;
  struct Case {
    const char* extension;
    int32_t source;
    int32_t expected;
  };
  const Case cases[] = {
      {"jpg", 1, 8},   {"jpg", 4, 8},    {"jpg", 8, 8},     {"jpg", 16, 24}, {"jpg", 24, 24},
      {"jpg", 32, 24}, {"jpg", 48, 24},  {"jpg", 64, 24},   {"png", 2, 4},   {"png", 16, 24},
      {"png", 64, 48}, {"tga", 1, 8},    {"tga", 16, 16},   {"exr", 8, 96},  {"gif", 24, 8},
      {"jxr", 64, 96}, {"tiff", 96, 96}, {"tiff", 128, 96}, {"nope", 24, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AutomaticDepth(formats, c.extension, c.source), c.expected)
        << c.extension << " " << c.source;
  }
  EXPECT_EQ(AutomaticDepth(std::vector<int>{}, 24), 0);
}

TEST(AutomaticDepth, ColourPalettesCountAsTrueColourWhereEightBitsMeanGrey) {
  InitialiseImageLibrary();
  const Image palette = MakeTestImage(TestKind::kPalette8);
  const Image four_bit = MakeTestImage(TestKind::kBit4);
  const Image grey = MakeTestImage(TestKind::kGrey8);
  const Image black_white = MakeTestImage(TestKind::kBit1);
  EXPECT_EQ(AutomaticSourceDepth(palette, "jpg"), 24);
  EXPECT_EQ(AutomaticSourceDepth(four_bit, "jp2"), 24);
  EXPECT_EQ(AutomaticSourceDepth(palette, "png"), 8);
  EXPECT_EQ(AutomaticSourceDepth(grey, "jpg"), 8);
  EXPECT_EQ(AutomaticSourceDepth(black_white, "jpg"), 1);
  EXPECT_EQ(AutomaticSourceDepth(MakeTestImage(TestKind::kGrey16), "jpg"), 16);
}

// What one conversion must give: the depth, the pixel type and, for palette depths, whether the
// result is greyscale.
struct DepthCase {
  TestKind source;
  const char* extension;
  int32_t depth;
  int32_t bpp;  // 0: no image
  FREE_IMAGE_TYPE type;
  FREE_IMAGE_COLOR_TYPE colour;  // checked for 8 and 1 bits
  unsigned green_mask;           // checked for 16 bits
};

void PrintTo(const DepthCase& c, std::ostream* os) {
  *os << static_cast<int>(c.source) << " as " << c.extension << " at " << c.depth;
}

class ConvertToDepthTest : public ::testing::TestWithParam<DepthCase> {
 protected:
  static void SetUpTestSuite() { InitialiseImageLibrary(); }
};

TEST_P(ConvertToDepthTest, GivesTheRequestedPixelFormat) {
  const DepthCase& c = GetParam();
  Image image = MakeTestImage(c.source);
  ASSERT_TRUE(image);
  const Image result = ConvertToDepth(std::move(image), c.extension, c.depth);
  if (c.bpp == 0) {
    EXPECT_FALSE(result);
    return;
  }
  ASSERT_TRUE(result);
  EXPECT_EQ(result.bpp(), c.bpp);
  EXPECT_EQ(result.type(), c.type);
  EXPECT_EQ(result.width(), 64);
  EXPECT_EQ(result.height(), 48);
  if (c.bpp == 8 || c.bpp == 1) {  // where grey or palette is our choice
    EXPECT_EQ(FreeImage_GetColorType(result.get()), c.colour);
  }
  if (c.bpp == 16) {
    EXPECT_EQ(FreeImage_GetGreenMask(result.get()), c.green_mask);
  }
}

constexpr auto B = FIT_BITMAP;
constexpr auto kAnyColour = FIC_RGB;
INSTANTIATE_TEST_SUITE_P(
    EveryDepth, ConvertToDepthTest,
    ::testing::Values(
        DepthCase{TestKind::kRgb24, "tiff", 96, 96, FIT_RGBF, kAnyColour, 0},
        DepthCase{TestKind::kRgb24, "png", 48, 48, FIT_RGB16, kAnyColour, 0},
        DepthCase{TestKind::kGrey16, "png", 48, 48, FIT_RGB16, kAnyColour, 0},
        DepthCase{TestKind::kRgb24, "png", 32, 32, B, kAnyColour, 0},
        DepthCase{TestKind::kRgba32, "jpg", 24, 24, B, kAnyColour, 0},
        DepthCase{TestKind::kPalette8, "jpg", 24, 24, B, kAnyColour, 0},
        DepthCase{TestKind::kBit1, "jpg", 24, 24, B, kAnyColour, 0},
        // 16-bit greyscale is refused by the library's 24-bit conversion; it is narrowed first.
        DepthCase{TestKind::kGrey16, "jpg", 24, 24, B, kAnyColour, 0},
        DepthCase{TestKind::kRgb16, "jpg", 24, 24, B, kAnyColour, 0},
        DepthCase{TestKind::kRgb24, "bmp", 16, 16, B, kAnyColour, FI16_565_GREEN_MASK},
        DepthCase{TestKind::kRgb24, "ico", 16, 16, B, kAnyColour, FI16_555_GREEN_MASK},
        DepthCase{TestKind::kRgb24, "tga", 16, 16, B, kAnyColour, FI16_555_GREEN_MASK},
        DepthCase{TestKind::kRgb16, "bmp", 16, 16, B, kAnyColour, FI16_565_GREEN_MASK},
        DepthCase{TestKind::kRgb24, "jpg", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgba32, "jpg", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb24, "j2k", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb24, "jp2", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb24, "jxr", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kGrey16, "jpg", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb16, "jpg", 8, 8, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb24, "png", 8, 8, B, FIC_PALETTE, 0},
        DepthCase{TestKind::kRgba32, "gif", 8, 8, B, FIC_PALETTE, 0},
        DepthCase{TestKind::kRgb16, "bmp", 8, 8, B, FIC_PALETTE, 0},
        DepthCase{TestKind::kRgb24, "bmp", 4, 4, B, FIC_PALETTE, 0},
        DepthCase{TestKind::kGrey8, "png", 4, 4, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb24, "png", 1, 1, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb16, "pbm", 1, 1, B, FIC_MINISBLACK, 0},
        DepthCase{TestKind::kRgb24, "jpg", 0, 0, B, kAnyColour, 0},
        DepthCase{TestKind::kRgb24, "jpg", 12, 0, B, kAnyColour, 0},
        DepthCase{TestKind::kRgb24, "jpg", -24, 0, B, kAnyColour, 0}));

TEST(ConvertToDepth, AnImageThatHasTheDepthIsPassedOnAsItIs) {
  InitialiseImageLibrary();
  for (const auto& [kind, depth] : {std::pair{TestKind::kRgb24, 24},
                                    {TestKind::kPalette8, 8},
                                    {TestKind::kRgba32, 32},
                                    {TestKind::kBit1, 1}}) {
    Image image = MakeTestImage(kind);
    FIBITMAP* const handle = image.get();
    const Image result = ConvertToDepth(std::move(image), "jpg", depth);
    EXPECT_EQ(result.get(), handle) << depth;
  }
}

TEST(ConvertToDepth, NoImageStaysNoImage) { EXPECT_FALSE(ConvertToDepth(Image(), "jpg", 24)); }

TEST(ConvertToDepth, GreyscaleKeepsTheGreyLevels) {
  InitialiseImageLibrary();
  // A red/blue image made grey for jpg: the two halves keep distinct luminances.
  const Image grey = ConvertToDepth(MakeTestImage(TestKind::kRgb24), "jpg", 8);
  ASSERT_TRUE(grey);
  const testing::Colour left = testing::PixelAt(grey, 0, 0);
  const testing::Colour right = testing::PixelAt(grey, 63, 0);
  EXPECT_EQ(left.red, left.blue);
  EXPECT_NE(left.red, right.red);
  // 16-bit greyscale keeps its high byte: the ramp ends at 0 and 255.
  const Image narrowed = ConvertToDepth(MakeTestImage(TestKind::kGrey16), "jpg", 24);
  ASSERT_TRUE(narrowed);
  EXPECT_EQ(testing::PixelAt(narrowed, 0, 0), (testing::Colour{0, 0, 0}));
  EXPECT_EQ(testing::PixelAt(narrowed, 63, 0), (testing::Colour{255, 255, 255}));
  EXPECT_EQ(testing::PixelAt(narrowed, 32, 0).red, (32 * 65535 / 63) >> 8);
}

}  // namespace
}  // namespace quill
