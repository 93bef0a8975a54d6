// Saving through a temporary file: complete files only, old files kept on failure.
#include "engine/save_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "engine/image_library.h"
#include "engine/test_images.h"
#include "platform/paths.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::MakeTestImage;
using testing::ReadFile;
using testing::TempFolder;
using testing::TestKind;
using testing::WriteFile;

constexpr int32_t kJpegFlags = 90 | JPEG_SUBSAMPLING_444;

std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// A 256 x 256 image of noise, whose JPEG is far larger than a few kilobytes.
Image NoiseImage() {
  Image image(FreeImage_Allocate(256, 256, 24));
  std::mt19937 random(7);
  for (unsigned y = 0; y < 256; ++y) {
    BYTE* row = FreeImage_GetScanLine(image.get(), static_cast<int>(y));
    for (unsigned i = 0; i < 256 * 3; ++i) row[i] = static_cast<BYTE>(random());
  }
  return image;
}

class SaveImageFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitialiseImageLibrary(); }
  TempFolder folder_;
};

TEST_F(SaveImageFileTest, WritesACompleteFileAndNothingElse) {
  const std::string target = folder_ / "photo.jpg";
  ASSERT_TRUE(SaveImageFile(MakeTestImage(TestKind::kRgb24), FIF_JPEG, target, kJpegFlags));
  EXPECT_EQ(testing::Identify(target, "%m %w %h %Q"), "JPEG 64 48 90");
  EXPECT_EQ(NamesIn(folder_.path()), std::set<std::string>{"photo.jpg"});
}

TEST_F(SaveImageFileTest, ReplacesAnExistingFile) {
  const std::string target = folder_ / "photo.jpg";
  WriteFile(target, "old contents");
  ASSERT_TRUE(SaveImageFile(MakeTestImage(TestKind::kRgb24), FIF_JPEG, target, kJpegFlags));
  EXPECT_EQ(testing::Identify(target, "%m %w %h"), "JPEG 64 48");
  EXPECT_EQ(NamesIn(folder_.path()), std::set<std::string>{"photo.jpg"});
}

TEST_F(SaveImageFileTest, AFailedSaveLeavesNoFileAndKeepsTheOldOne) {
  fs::create_directory(folder_ / "a folder");
  WriteFile(folder_ / "not a folder", "x");
  WriteFile(folder_ / "existing.jpg", "old contents");
  struct Case {
    const char* what;
    Image image;
    std::string target;
  };
  Case cases[] = {
      {"missing folder", MakeTestImage(TestKind::kRgb24), folder_ / "missing/photo.jpg"},
      {"parent is a file", MakeTestImage(TestKind::kRgb24), folder_ / "not a folder/photo.jpg"},
      {"target is a folder", MakeTestImage(TestKind::kRgb24), folder_ / "a folder"},
      {"no image", Image(), folder_ / "existing.jpg"},
      // The JPEG writer refuses 4-bit images.
      {"library refuses", MakeTestImage(TestKind::kBit4), folder_ / "existing.jpg"},
      {"no path", MakeTestImage(TestKind::kRgb24), ""},
  };
  const std::set<std::string> before = NamesIn(folder_.path());
  for (const Case& c : cases) {
    EXPECT_FALSE(SaveImageFile(c.image, FIF_JPEG, c.target, kJpegFlags)) << c.what;
    EXPECT_EQ(NamesIn(folder_.path()), before) << c.what;
    EXPECT_TRUE(NamesIn(folder_ / "a folder").empty()) << c.what;
  }
  EXPECT_EQ(ReadFile(folder_ / "existing.jpg"), "old contents");
}

TEST_F(SaveImageFileTest, AnUnwritableFolderFails) {
  const std::string locked = folder_ / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  // The superuser may write anyway; then there is nothing to test.
  const std::string probe = locked + "/probe";
  if (std::FILE* file = std::fopen(probe.c_str(), "wb")) {
    std::fclose(file);
    fs::remove(probe);
    fs::permissions(locked, fs::perms::owner_all);
    GTEST_SKIP() << "permissions do not restrict this user";
  }
  EXPECT_FALSE(
      SaveImageFile(MakeTestImage(TestKind::kRgb24), FIF_JPEG, locked + "/photo.jpg", kJpegFlags));
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_TRUE(NamesIn(locked).empty());
}

// Run by the test below in a child process whose file size limit is a few kilobytes, as on a
// full disk: the write fails part-way, and the old file must survive.
TEST(SaveImageFileChild, DISABLED_WriteThatRunsOutOfSpace) {
  const char* target = std::getenv("QUILL_SAVE_TARGET");
  ASSERT_NE(target, nullptr);
  InitialiseImageLibrary();
  EXPECT_FALSE(SaveImageFile(NoiseImage(), FIF_JPEG, target, 100 | JPEG_SUBSAMPLING_444));
}

TEST_F(SaveImageFileTest, AWriteThatRunsOutOfSpaceLeavesTheOldFile) {
  const std::string target = folder_ / "photo.jpg";
  WriteFile(target, "old contents");
  // An ignored XFSZ signal stays ignored in the program the shell runs, so the write reports
  // an error instead of ending the process.
  const std::string script =
      "trap '' XFSZ; ulimit -f 8; exec \"$0\" --gtest_also_run_disabled_tests "
      "--gtest_filter=SaveImageFileChild.DISABLED_WriteThatRunsOutOfSpace";
  testing::RunOptions options;
  options.env["QUILL_SAVE_TARGET"] = target;
  const testing::ProgramResult run =
      testing::RunProgram({"/bin/sh", "-c", script, platform::ProgramPath()}, options);
  EXPECT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_EQ(ReadFile(target), "old contents");
  EXPECT_EQ(NamesIn(folder_.path()), std::set<std::string>{"photo.jpg"});
  // Without the limit the same image saves.
  EXPECT_TRUE(SaveImageFile(NoiseImage(), FIF_JPEG, target, 100 | JPEG_SUBSAMPLING_444));
  EXPECT_GT(fs::file_size(target), 8u * 1024);
}

TEST_F(SaveImageFileTest, SameFileMeansSameDeviceAndInode) {
  fs::create_directory(folder_ / "in");
  const std::string original = folder_ / "in/photo.png";
  WriteFile(original, "png");
  WriteFile(folder_ / "in/other.png", "png");
  fs::create_hard_link(original, folder_ / "hard.png");
  fs::create_symlink(original, folder_ / "soft.png");
  EXPECT_TRUE(IsSameFile(original, original));
  EXPECT_TRUE(IsSameFile(original, folder_ / "in/./photo.png"));
  EXPECT_TRUE(IsSameFile(original, folder_ / "in/../in/photo.png"));
  EXPECT_TRUE(IsSameFile(original, folder_ / "hard.png"));
  EXPECT_TRUE(IsSameFile(original, folder_ / "soft.png"));
  EXPECT_FALSE(IsSameFile(original, folder_ / "in/other.png"));
  EXPECT_FALSE(IsSameFile(original, folder_ / "in/photo.jpg"));
  EXPECT_FALSE(IsSameFile(original, ""));
}

}  // namespace
}  // namespace quill
