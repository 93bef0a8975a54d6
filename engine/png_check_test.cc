// The PNG check: declared sizes against the limits before any decoding, text chunks and colour
// profiles beyond their limits dropped, and the metadata that an output may carry.
#include "engine/png_check.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "engine/image_library.h"
#include "engine/limits.h"
#include "engine/load_image.h"
#include "engine/save_image.h"
#include "engine/test_images.h"
#include "tests/support/temp_folder.h"

namespace quill {
namespace {

std::string BigEndian(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

// One chunk with its length and check sum.
std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const uLong crc =
      crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return BigEndian(static_cast<uint32_t>(data.size())) + body +
         BigEndian(static_cast<uint32_t>(crc));
}

std::string Deflated(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()), 9);
  out.resize(size);
  return out;
}

// A real 16 x 16 PNG with `extra` chunks placed right after its header.
std::string PngWith(const std::string& extra = "") {
  InitialiseImageLibrary();
  const std::string png(
      EncodeImage(testing::MakeTestImage(testing::TestKind::kRgb24, 16, 16), FIF_PNG, 0).bytes());
  return png.substr(0, 33) + extra + png.substr(33);
}

// A file that is no more than a header claiming `width` x `height` pixels, one tiny data chunk
// and the end.
std::string Claiming(uint32_t width, uint32_t height) {
  const std::string header =
      BigEndian(width) + BigEndian(height) + std::string("\x08\x02\0\0\0", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", Deflated("")) +
         Chunk("IEND", "");
}

constexpr uint64_t kMemory = uint64_t{16} << 30;

TEST(PngCheckTest, DeclaredSizesBeyondTheLimitsAreRefusedUndecoded) {
  const struct {
    uint32_t width, height;
    uint64_t memory;
    bool refused;
  } cases[] = {
      {46341, 46341, kMemory, true},  {65501, 1, kMemory, true},     {1, 65501, kMemory, true},
      {65500, 4096, kMemory, false},  {16385, 16385, kMemory, true},  // just over 2^28 pixels
      {16384, 16384, kMemory, false}, {1000, 1000, 8 << 20, true},    // 11 MB on an 8 MB machine
      {1000, 1000, 0, false},  // memory unknown: no memory limit
  };
  for (const auto& c : cases) {
    const std::string bytes = Claiming(c.width, c.height);
    EXPECT_LT(bytes.size(), 100u);
    const PngCheck check = CheckPng(bytes, c.memory);
    EXPECT_EQ(!check.refusal.empty(), c.refused) << c.width << " x " << c.height;
    EXPECT_EQ(check.width, c.width);
  }
  // The reason names what is wrong: an empty side is no oversized image.
  EXPECT_EQ(CheckPng(Claiming(0, 16), kMemory).refusal, "the image of 0 x 16 pixels has no pixels");
  EXPECT_EQ(CheckPng(Claiming(65501, 1), kMemory)
                .refusal.find("the image of 65501 x 1 pixels is "
                              "larger than the limit"),
            0u);
  // Not a PNG: passed on for the decoder to refuse.
  for (const std::string& bytes : {std::string("GIF89a"), std::string()}) {
    const PngCheck check = CheckPng(bytes, kMemory);
    EXPECT_TRUE(check.refusal.empty());
    EXPECT_TRUE(check.dropped.empty());
  }
}

TEST(PngCheckTest, AChunkClaimingMoreThanTheFileEndsTheStream) {
  // Found by fuzzing: a text chunk whose length claims 1.9 GB in a file of a few hundred bytes
  // made the decoder allocate the claimed size before it found the end.
  const std::string good = PngWith();
  const std::string claim = BigEndian(1951551059) + "iTXt" + "Comment";
  const std::string bytes = good.substr(0, 33) + Chunk("tEXt", "A" + std::string(1, '\0') + "b") +
                            claim + good.substr(33);
  const PngCheck check = CheckPng(bytes, kMemory);
  EXPECT_TRUE(check.refusal.empty());
  ASSERT_EQ(check.dropped.size(), 1u);
  EXPECT_EQ(check.dropped[0].first, 33u + 12 + 3);
  EXPECT_EQ(check.dropped[0].second, bytes.size());

  testing::TempFolder folder;
  testing::WriteFile(folder / "claim.png", bytes);
  const LoadedImage loaded = LoadCheckedPng(folder / "claim.png");
  EXPECT_FALSE(loaded.image);  // no image data before the end
  // Cut short after the image data: the stream still ends before the claim, and without its end
  // chunk the decoder refuses it, as it refuses any file that stops short.
  testing::WriteFile(folder / "cut.png", good.substr(0, good.size() - 12) + claim);
  EXPECT_EQ(CheckPng(good.substr(0, good.size() - 12) + claim, kMemory).dropped.size(), 1u);
  EXPECT_FALSE(LoadCheckedPng(folder / "cut.png").image);
}

TEST(PngCheckTest, TooManyOrTooLargeTextsAndProfilesAreDropped) {
  std::string many;
  for (int i = 0; i < 70; ++i) many += Chunk("tEXt", "Comment" + std::string(1, '\0') + "note");
  const std::string bomb =
      Chunk("zTXt", "Comment" + std::string(2, '\0') + Deflated(std::string(7'500'000, 'a')));
  const std::string profile =
      Chunk("iCCP", "icc" + std::string(2, '\0') + Deflated(std::string(2 << 20, 'p')));
  const std::string small_itxt = Chunk("iTXt", "Title" + std::string("\0\0\0en\0\0", 7) + "Hello");
  const struct {
    std::string extra;
    int dropped;
  } cases[] = {{many, 6}, {bomb, 1}, {profile, 1}, {small_itxt, 0}, {bomb + small_itxt, 1}};
  for (const auto& c : cases) {
    const std::string bytes = PngWith(c.extra);
    const PngCheck check = CheckPng(bytes, kMemory);
    EXPECT_TRUE(check.refusal.empty());
    EXPECT_EQ(check.dropped.size(), static_cast<size_t>(c.dropped));
    // What is left is still a whole PNG.
    std::string stream = KeptStream(bytes, check);
    EXPECT_EQ(stream.size() < bytes.size(), c.dropped > 0);
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(stream.data()),
                                            static_cast<DWORD>(stream.size()));
    const Image image(FreeImage_LoadFromMemory(FIF_PNG, memory, 0));
    FreeImage_CloseMemory(memory);
    EXPECT_EQ(image.width(), 16) << c.dropped;
  }
}

TEST(PngCheckTest, LoadingRefusesHugeClaimsAndLimitsWhatOutputsCarry) {
  testing::TempFolder folder;
  // Dropped chunks are skipped while the file is decoded: the bomb in the middle is never read.
  const std::string bomb =
      Chunk("zTXt", "Comment" + std::string(2, '\0') + Deflated(std::string(7'500'000, 'a')));
  const std::string many = Chunk("tEXt", "Title" + std::string(1, '\0') + "kept");
  testing::WriteFile(folder / "bomb.png", PngWith(many + bomb + many));
  const LoadedImage defused = LoadCheckedPng(folder / "bomb.png");
  ASSERT_TRUE(defused.image);
  EXPECT_EQ(defused.image.width(), 16);
  EXPECT_EQ(testing::PixelAt(defused.image, 2, 2), testing::kRed);
  FITAG* title = nullptr;
  EXPECT_TRUE(FreeImage_GetMetadata(FIMD_COMMENTS, defused.image.get(), "Title", &title));
  FITAG* comment = nullptr;
  EXPECT_FALSE(FreeImage_GetMetadata(FIMD_COMMENTS, defused.image.get(), "Comment", &comment));

  testing::WriteFile(folder / "huge.png", Claiming(46341, 46341));
  const LoadedImage huge = LoadCheckedPng(folder / "huge.png");
  EXPECT_FALSE(huge.image);
  EXPECT_NE(huge.refusal.find("46341 x 46341"), std::string::npos) << huge.refusal;

  const auto comment_bytes = [](const Image& image) {
    FITAG* tag = nullptr;
    FreeImage_GetMetadata(FIMD_COMMENTS, image.get(), "Comment", &tag);
    return tag == nullptr ? 0 : static_cast<int64_t>(FreeImage_GetTagLength(tag));
  };
  for (const auto& [bytes, kept] : {std::pair{1000, true}, {100'000, false}}) {
    testing::WriteFile(folder / "text.png",
                       PngWith(Chunk("tEXt", "Comment" + std::string(1, '\0') +
                                                 std::string(static_cast<size_t>(bytes), 't'))));
    const LoadedImage loaded = LoadCheckedPng(folder / "text.png");
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image.width(), 16);
    EXPECT_TRUE(loaded.refusal.empty());
    EXPECT_EQ(comment_bytes(loaded.image) > 0, kept) << bytes;
  }
}

TEST(PngCheckTest, ALargeFileWithDroppedChunksDecodesAsTheCleanFile) {
  InitialiseImageLibrary();
  const Image original = testing::PatternImage(400, 300);
  const std::string clean(EncodeImage(original, FIF_PNG, PNG_Z_NO_COMPRESSION).bytes());
  ASSERT_GT(clean.size(), 300'000u);  // read through many windows
  // Before the image data, texts of 2000 bytes each, a text bomb among them: the bomb and the
  // texts past the 64th are dropped, kept and dropped ranges alternating over several windows.
  const std::string bomb =
      Chunk("zTXt", "Comment" + std::string(2, '\0') + Deflated(std::string(2'000'000, 'a')));
  std::string texts;
  for (int i = 0; i < 80; ++i) {
    texts += Chunk("tEXt", "Note" + std::string(1, '\0') + std::string(2000, 'n'));
    if (i % 20 == 10) texts += bomb;
  }
  const std::string bytes = clean.substr(0, 33) + texts + clean.substr(33);
  EXPECT_GE(CheckPng(bytes, kMemory).dropped.size(), 4u);
  testing::TempFolder folder;
  testing::WriteFile(folder / "long.png", bytes);
  const LoadedImage loaded = LoadCheckedPng(folder / "long.png");
  EXPECT_TRUE(testing::SamePixels(loaded.image, original));
}

}  // namespace
}  // namespace quill
