// Image operations switched on from the command line, read back from the written JPEG files
// with the system's own image tools.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/quillpix_test.h"

namespace quill {
namespace {

using testing::ProgramResult;
using ImageOperationsTest = QuillpixTest;

struct Rgb {
  int red = -1, green = -1, blue = -1;
};

// The colour of one pixel of a file, as ImageMagick reads it.
Rgb PixelOf(const std::string& path, int x, int y) {
  const std::string text =
      testing::RunProgram({"convert", path, "-format",
                           "%[fx:int(255*p{" + std::to_string(x) + "," + std::to_string(y) +
                               "}.r+0.5)] %[fx:int(255*p{" + std::to_string(x) + "," +
                               std::to_string(y) + "}.g+0.5)] %[fx:int(255*p{" + std::to_string(x) +
                               "," + std::to_string(y) + "}.b+0.5)]",
                           "info:"})
          .out;
  Rgb rgb;
  std::sscanf(text.c_str(), "%d %d %d", &rgb.red, &rgb.green, &rgb.blue);
  return rgb;
}

// Within the error that quality 95 without chroma subsampling leaves in a flat area.
void ExpectNear(const Rgb& got, const Rgb& want, const std::string& where) {
  constexpr int kTolerance = 6;
  EXPECT_NEAR(got.red, want.red, kTolerance) << where;
  EXPECT_NEAR(got.green, want.green, kTolerance) << where;
  EXPECT_NEAR(got.blue, want.blue, kTolerance) << where;
}

TEST_F(ImageOperationsTest, FrameAndWatermarksLandWhereTheSettingsSay) {
  // Written as a colour PNG: a plain white one would be stored grey, and automatic depth would
  // then write a grey JPEG.
  folder_.MakeFolder("in");
  ASSERT_EQ(testing::RunProgram({"convert", "-size", "200x150", "xc:white", "-type", "TrueColor",
                                 "PNG24:" + (folder_ / "in/white.png")})
                .exit_code,
            0);
  MakePng("logo.png", "xc:red", "20x10");
  folder_.MakeFolder("out");
  const std::string in = folder_ / "in";
  const std::string out = folder_ / "out";
  const std::string frame_options[] = {
      "--fr-solid-left=10",   "--fr-solid-right=10",          "--fr-solid-top=10",
      "--fr-solid-bottom=10", "--fr-solid-left-color=FF0000", "--fr-solid-top-color=0000FF"};

  // A text block with an opaque green box, placed inside the frame at the top left.
  std::vector<std::string> args = {"-q",
                                   "-i",
                                   in,
                                   "-o",
                                   out,
                                   "--wm-text=A%eol%B",
                                   "--wm-back-color=00FF00",
                                   "--wm-back-opacity=255",
                                   "--wm-text-padding=8",
                                   "--wm-text-position=topleft",
                                   "--wm-text-boundary=frame"};
  args.insert(args.end(), std::begin(frame_options), std::end(frame_options));
  ProgramResult r = Run(args);
  ASSERT_EQ(r.exit_code, 0) << r.out;
  const std::string written = out + "/white.jpg";
  ExpectNear(PixelOf(written, 3, 75), {255, 0, 0}, "left band");
  ExpectNear(PixelOf(written, 100, 3), {0, 0, 255}, "top band");
  ExpectNear(PixelOf(written, 196, 75), {0, 0, 0}, "right band");
  ExpectNear(PixelOf(written, 22, 22), {0, 255, 0}, "box inside the frame, after the offset");
  ExpectNear(PixelOf(written, 18, 18), {255, 255, 255}, "between frame and box");
  ExpectNear(PixelOf(written, 100, 75), {255, 255, 255}, "middle");

  // A picture at half opacity at the bottom right, ten pixels from the edges.
  r = Run({"-q", "-i", in, "-o", out, "--wm-image=" + (folder_ / "logo.png"),
           "--wm-image-opacity=128"});
  ASSERT_EQ(r.exit_code, 0) << r.out;
  ExpectNear(PixelOf(written, 180, 135), {255, 127, 127}, "picture at half opacity");
  ExpectNear(PixelOf(written, 160, 135), {255, 255, 255}, "left of the picture");
}

TEST_F(ImageOperationsTest, RotationResizeAndFlipsChangeTheGeometry) {
  folder_.MakeFolder("in");
  ASSERT_EQ(testing::RunProgram({"convert", "-size", "64x48", "gradient:red-blue", "-depth", "8",
                                 "PNG24:" + (folder_ / "in/photo.png")})
                .exit_code,
            0);
  folder_.MakeFolder("out");
  const std::string written = folder_ / "out/photo.jpg";
  const struct {
    std::vector<std::string> options;
    std::string size;
  } cases[] = {
      {{"--rotation=90"}, "48 64"},
      {{"--rotation=90", "--width=50", "--width-unit=percent", "--height=50",
        "--height-unit=percent"},
       "24 32"},
      {{"--width=32", "--height=1", "--keep-aspect-ratio"}, "32 24"},
      {{"--rotation=45", "--rotation-type=advanced"}, "64 48"},
      {{"--flip-horizontal", "--flip-vertical"}, "64 48"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"-q", "-i", folder_ / "in", "-o", folder_ / "out"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ProgramResult r = Run(args);
    ASSERT_EQ(r.exit_code, 0) << c.options[0] << "\n" << r.out;
    EXPECT_EQ(Identify(written, "%w %h"), c.size) << c.options[0];
  }
  // The half turn put the blue end at the top.
  ExpectNear(PixelOf(written, 32, 1), {0, 0, 255}, "top after both flips");
}

TEST_F(ImageOperationsTest, ThresholdOutputsFollowTheDepthOfTheLoadedFile) {
  folder_.MakeFolder("in");
  folder_.MakeFolder("out");
  ASSERT_EQ(testing::RunProgram({"convert", "-size", "64x48", "gradient:white-black", "-depth", "8",
                                 "PNG24:" + (folder_ / "in/colour.png")})
                .exit_code,
            0);
  ASSERT_EQ(testing::RunProgram({"convert", "-size", "64x48", "pattern:checkerboard", "-monochrome",
                                 "-define", "png:bit-depth=1", "-define", "png:color-type=0",
                                 folder_ / "in/mono.png"})
                .exit_code,
            0);
  const ProgramResult r =
      Run({"-q", "-i", folder_ / "in", "-o", folder_ / "out", "--threshold=128"});
  ASSERT_EQ(r.exit_code, 0) << r.out;
  // Black and white either way; written with 24 bits and with 8 bits (grey).
  EXPECT_EQ(Identify(folder_ / "out/colour.jpg", "%[colorspace] %k"), "sRGB 2");
  EXPECT_EQ(Identify(folder_ / "out/mono.jpg", "%[colorspace]"), "Gray");
}

}  // namespace
}  // namespace quill
