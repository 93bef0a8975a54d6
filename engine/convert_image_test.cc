// The whole pipeline on synthetic PNG files and on the PNG test suite, checked with the system's
// image tools.
#include "engine/convert_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/image_library.h"
#include "engine/library_messages.h"
#include "engine/save_flags.h"
#include "engine/test_images.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::Colour;
using testing::kBlue;
using testing::kGreen;
using testing::kRed;
using testing::kWhite;
using testing::MakeTestImage;
using testing::TestKind;

constexpr Colour kBlack{0, 0, 0};
constexpr char kSuite[] = "/work/shared/corpus/pngsuite";

// The format string of the checks: size, colour space, sampling, quality estimate, coding.
constexpr char kDescription[] = "%w %h %[colorspace] %[jpeg:sampling-factor] %Q %[interlace]";

class ConvertImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseImageLibrary();
    fs::create_directory(folder_ / "in");
    fs::create_directory(folder_ / "out");
    ResetSettings(settings_, DefaultsFlavour::kConsole);
    ResetJobState(job_);
    job_.output_folder = folder_ / "out/";
    StartRun();
  }

  // The run fields a front end fills from the settings before the worker starts.
  void StartRun() {
    job_.conversion_type = "jpg";
    job_.output_library_format = FIF_JPEG;
    job_.output_bit_depth = settings_.jpg_bpp;
    job_.automatic_depth = settings_.jpg_bpp == 0 ? 1 : 0;
    job_.output_save_flags = SaveFlags("jpg", settings_);
  }

  std::string WritePng(TestKind kind, const std::string& name) {
    const std::string path = folder_ / ("in/" + name);
    EXPECT_TRUE(testing::SavePng(MakeTestImage(kind), path));
    return path;
  }

  ConvertResult Convert(const std::string& input) {
    job_.current_input_path = input;
    return ConvertImageWithResult(settings_, formats_, job_);
  }

  std::vector<std::string> OutputNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ / "out")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  testing::TempFolder folder_;
  Settings settings_;
  JobState job_;
  const FormatRegistry formats_;
};

struct KindCase {
  TestKind kind;
  int32_t source_depth;
  int32_t output_depth;
  const char* colour_space;  // "sRGB" for 24 bits, "Gray" for 8
  Colour left, right;        // expected colours of the two halves
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << "kind " << static_cast<int>(c.kind); }

class ConvertKindTest : public ConvertImageTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ConvertKindTest, WritesTheExpectedJpeg) {
  const KindCase& c = GetParam();
  const std::string input = WritePng(c.kind, "photo.png");
  ASSERT_EQ(Convert(input), ConvertResult::kConverted);

  const std::string output = folder_ / "out/photo.jpg";
  EXPECT_EQ(job_.current_output_path, output);
  EXPECT_EQ(job_.source_bit_depth, c.source_depth);
  EXPECT_EQ(job_.output_bit_depth, c.output_depth);
  EXPECT_EQ(job_.image_width, 64);
  EXPECT_EQ(job_.image_height, 48);
  const std::string sampling = std::string(c.colour_space) == "Gray" ? "1x1" : "1x1,1x1,1x1";
  EXPECT_EQ(testing::Identify(output, kDescription),
            "64 48 " + std::string(c.colour_space) + " " + sampling + " 95 None");

  const auto pixels = testing::DecodeJpeg(output);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels->channels, c.output_depth == 8 ? 1 : 3);
  for (int y : {2, 24, 45}) {
    for (int x : {2, 16, 28}) {
      EXPECT_TRUE(testing::Near(pixels->at(x, y), c.left, 12)) << x << "," << y;
    }
    for (int x : {36, 48, 61}) {
      EXPECT_TRUE(testing::Near(pixels->at(x, y), c.right, 12)) << x << "," << y;
    }
  }
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"photo.jpg"});
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfPng, ConvertKindTest,
    ::testing::Values(KindCase{TestKind::kRgb24, 24, 24, "sRGB", kRed, kBlue},
                      KindCase{TestKind::kRgba32, 32, 24, "sRGB", kWhite, kBlue},
                      // Colour palettes keep their colours, transparent or not.
                      KindCase{TestKind::kPalette8, 8, 24, "sRGB", kWhite, kGreen},
                      KindCase{TestKind::kPalette8Opaque, 8, 24, "sRGB", kRed, kGreen},
                      KindCase{TestKind::kBit4, 4, 24, "sRGB", kRed, kBlue},
                      KindCase{TestKind::kBit1, 1, 8, "Gray", kBlack, kWhite},
                      // 16-bit images: greyscale narrowed, colour tone-mapped, alpha kept.
                      KindCase{TestKind::kRgb16, 48, 24, "sRGB", kRed, kBlue},
                      KindCase{TestKind::kRgba16, 64, 24, "sRGB", kWhite, kBlue}));

TEST_F(ConvertImageTest, GreyscaleRampsKeepTheirLevels) {
  // 8-bit grey is written as 8-bit grey, 16-bit grey with 24 bits (its automatic depth).
  for (const auto& [kind, colour_space, depth] :
       {std::tuple{TestKind::kGrey8, "Gray 1x1", 8}, {TestKind::kGrey16, "sRGB 1x1,1x1,1x1", 24}}) {
    const std::string input = WritePng(kind, "ramp.png");
    ASSERT_EQ(Convert(input), ConvertResult::kConverted);
    EXPECT_EQ(job_.output_bit_depth, depth);
    const std::string output = folder_ / "out/ramp.jpg";
    EXPECT_EQ(testing::Identify(output, "%w %h %[colorspace] %[jpeg:sampling-factor]"),
              std::string("64 48 ") + colour_space);
    const auto pixels = testing::DecodeJpeg(output);
    ASSERT_TRUE(pixels);
    for (int x : {0, 20, 40, 63}) {
      const int level = x * 255 / 63;
      EXPECT_TRUE(testing::Near(
          pixels->at(x, 10),
          Colour{static_cast<BYTE>(level), static_cast<BYTE>(level), static_cast<BYTE>(level)}, 6))
          << x;
    }
  }
}

TEST_F(ConvertImageTest, EncodingFollowsTheJpegSettings) {
  struct Case {
    int32_t quality, chroma, save_as;
    const char* description;
  };
  const Case cases[] = {
      {95, 0, 0, "64 48 sRGB 1x1,1x1,1x1 95 None"}, {80, 1, 0, "64 48 sRGB 2x1,1x1,1x1 80 None"},
      {70, 2, 3, "64 48 sRGB 2x2,1x1,1x1 70 JPEG"}, {60, 3, 2, "64 48 sRGB 4x1,1x1,1x1 60 None"},
      {90, 0, 1, "64 48 sRGB 1x1,1x1,1x1 90 None"}, {85, 0, 3, "64 48 sRGB 1x1,1x1,1x1 85 JPEG"},
  };
  const std::string input = WritePng(TestKind::kRgb24, "photo.png");
  for (const Case& c : cases) {
    settings_.jpg_quality = c.quality;
    settings_.jpg_chroma = c.chroma;
    settings_.jpg_save_as = c.save_as;
    StartRun();
    ASSERT_EQ(Convert(input), ConvertResult::kConverted);
    EXPECT_EQ(testing::Identify(folder_ / "out/photo.jpg", kDescription), c.description)
        << c.quality << " " << c.chroma << " " << c.save_as;
  }
}

TEST_F(ConvertImageTest, AFixedDepthIsUsedForEveryFile) {
  settings_.jpg_bpp = 8;
  StartRun();
  ASSERT_EQ(Convert(WritePng(TestKind::kRgb24, "colour.png")), ConvertResult::kConverted);
  EXPECT_EQ(job_.output_bit_depth, 8);
  EXPECT_EQ(testing::Identify(folder_ / "out/colour.jpg", "%[colorspace]"), "Gray");

  settings_.jpg_bpp = 24;
  StartRun();
  ASSERT_EQ(Convert(WritePng(TestKind::kGrey8, "grey.png")), ConvertResult::kConverted);
  EXPECT_EQ(job_.output_bit_depth, 24);
  EXPECT_EQ(testing::Identify(folder_ / "out/grey.jpg", "%[colorspace]"), "sRGB");
}

TEST_F(ConvertImageTest, FilesThatAreNotPngAreNotConverted) {
  const std::string jpeg_named_png = folder_ / "in/jpeg.png";
  ASSERT_TRUE(testing::SavePng(MakeTestImage(TestKind::kRgb24), folder_ / "in/real.png"));
  ASSERT_TRUE(
      FreeImage_Save(FIF_JPEG, MakeTestImage(TestKind::kRgb24).get(), jpeg_named_png.c_str(), 90));
  testing::WriteFile(folder_ / "in/empty.png", "");
  testing::WriteFile(folder_ / "in/text.png", "this is not an image\n");
  const std::string truncated = folder_ / "in/truncated.png";
  testing::WriteFile(truncated, testing::ReadFile(folder_ / "in/real.png").substr(0, 60));
  fs::create_directory(folder_ / "in/folder.png");
  for (const std::string& input :
       {std::string(kSuite) + "/xcrn0g04.png", std::string(kSuite) + "/xd0n2c08.png",
        jpeg_named_png, folder_ / "in/empty.png", folder_ / "in/text.png", truncated,
        folder_ / "in/missing.png", folder_ / "in/folder.png"}) {
    job_.current_output_path = "left over";
    EXPECT_EQ(Convert(input), ConvertResult::kNotLoaded) << input;
    EXPECT_EQ(job_.source_bit_depth, 0) << input;
    EXPECT_EQ(job_.current_output_path, "") << input;
  }
  EXPECT_TRUE(OutputNames().empty());
}

TEST_F(ConvertImageTest, LibraryMessagesAreKeptFromAnyThread) {
  ClearLibraryMessages();
  // A file with an invalid header chunk, which the PNG reader reports.
  std::thread worker([this] { Convert(std::string(kSuite) + "/xd0n2c08.png"); });
  worker.join();
  const std::vector<LibraryMessage> messages = LibraryMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().format, FIF_PNG);
  EXPECT_FALSE(LastLibraryMessage().empty());
  ClearLibraryMessages();
  EXPECT_TRUE(LibraryMessages().empty());
}

TEST_F(ConvertImageTest, TheInputFileIsNeverOverwritten) {
  settings_.filename_mask = "%filename%.png";
  const std::string input = WritePng(TestKind::kRgb24, "photo.png");
  const std::string before = testing::ReadFile(input);
  // The output folder spelled differently from the input's folder, and the input's own folder.
  for (const std::string& output_folder : {folder_ / "in/../in/", folder_ / "in/"}) {
    job_.output_folder = output_folder;
    EXPECT_EQ(Convert(input), ConvertResult::kOutputIsInput) << output_folder;
    EXPECT_EQ(job_.current_output_path, output_folder + "photo.png");
    EXPECT_EQ(testing::ReadFile(input), before);
  }
  // Another file of the same name elsewhere is replaced as usual.
  job_.output_folder = folder_ / "out/";
  testing::WriteFile(folder_ / "out/photo.png", "old");
  EXPECT_EQ(Convert(input), ConvertResult::kConverted);
  EXPECT_EQ(testing::Identify(folder_ / "out/photo.png", "%m"), "JPEG");
}

TEST_F(ConvertImageTest, AFailedSaveWritesNothingAndKeepsTheOldFile) {
  const std::string input = WritePng(TestKind::kRgb24, "photo.png");
  testing::WriteFile(folder_ / "out/photo.jpg", "old");
  // The JPEG writer refuses 4-bit images, so the save itself fails.
  settings_.jpg_bpp = 4;
  StartRun();
  EXPECT_EQ(Convert(input), ConvertResult::kNotSaved);
  EXPECT_EQ(testing::ReadFile(folder_ / "out/photo.jpg"), "old");
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"photo.jpg"});

  // An output folder that does not exist.
  StartRun();
  settings_.jpg_bpp = 0;
  StartRun();
  job_.output_folder = folder_ / "nowhere/";
  EXPECT_EQ(Convert(input), ConvertResult::kNotSaved);
  EXPECT_EQ(job_.current_output_path, folder_ / "nowhere/photo.jpg");
  EXPECT_FALSE(fs::exists(folder_ / "nowhere"));

  // No output folder at all gives no path.
  job_.output_folder.clear();
  EXPECT_EQ(Convert(input), ConvertResult::kNoOutputPath);
  EXPECT_FALSE(ConvertImage(settings_, formats_, job_));
}

TEST_F(ConvertImageTest, EveryValidFileOfThePngSuiteConverts) {
  std::vector<std::string> valid, corrupt;
  for (const auto& entry : fs::directory_iterator(kSuite)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    (name[0] == 'x' ? corrupt : valid).push_back(name);
  }
  ASSERT_GT(valid.size(), 100u);
  ASSERT_GT(corrupt.size(), 5u);
  for (const std::string& name : valid) {
    EXPECT_EQ(Convert(std::string(kSuite) + "/" + name), ConvertResult::kConverted) << name;
  }
  for (const std::string& name : corrupt) {
    EXPECT_EQ(Convert(std::string(kSuite) + "/" + name), ConvertResult::kNotLoaded) << name;
  }

  // Each output has the size of its input, as ImageMagick reads both.
  auto sizes = [](const std::string& folder, const char* extension) {
    const std::string listing =
        testing::RunProgram(
            {"/bin/sh", "-c",
             "cd \"$0\" && identify -format '%t %w %h %m\\n' *" + std::string(extension), folder})
            .out;
    std::map<std::string, std::string> result;
    std::istringstream lines(listing);
    std::string stem, rest;
    while (lines >> stem && std::getline(lines, rest)) result[stem] = rest;
    return result;
  };
  const auto outputs = sizes(folder_ / "out", ".jpg");
  EXPECT_EQ(outputs.size(), valid.size());
  for (const std::string& name : valid) {
    const std::string stem = name.substr(0, name.size() - 4);
    const auto input = testing::Identify(std::string(kSuite) + "/" + name, "%w %h");
    ASSERT_TRUE(outputs.count(stem)) << name;
    EXPECT_EQ(outputs.at(stem), " " + input + " JPEG") << name;
  }
}

TEST_F(ConvertImageTest, SixteenBitSuiteFilesComeOutRight) {
  // basn0g16: 16-bit grey; basn6a16: 16-bit colour with alpha; tbbn2c16: 16-bit colour with a
  // transparent colour. Transparent parts come out white.
  ASSERT_EQ(Convert(std::string(kSuite) + "/basn0g16.png"), ConvertResult::kConverted);
  EXPECT_EQ(job_.source_bit_depth, 16);
  EXPECT_EQ(job_.output_bit_depth, 24);
  ASSERT_EQ(Convert(std::string(kSuite) + "/basn6a16.png"), ConvertResult::kConverted);
  EXPECT_EQ(job_.source_bit_depth, 64);
  // The top left corner of basn6a16 is fully transparent.
  const auto pixels = testing::DecodeJpeg(folder_ / "out/basn6a16.jpg");
  ASSERT_TRUE(pixels);
  EXPECT_TRUE(testing::Near(pixels->at(0, 0), kWhite, 12));
}

TEST_F(ConvertImageTest, AFailureClearsThePreviousOutputPath) {
  ASSERT_EQ(Convert(WritePng(TestKind::kRgb24, "photo.png")), ConvertResult::kConverted);
  EXPECT_FALSE(job_.current_output_path.empty());
  EXPECT_EQ(Convert(folder_ / "in/missing.png"), ConvertResult::kNotLoaded);
  EXPECT_EQ(job_.current_output_path, "");
}

}  // namespace
}  // namespace quill
