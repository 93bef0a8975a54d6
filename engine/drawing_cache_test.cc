// The run's drawing cache: what it keeps, for which sizes and keys, and within what memory.
#include "engine/drawing_cache.h"

#include <gtest/gtest.h>

#include <functional>

namespace quill {
namespace {

// Bands of one layer of `width` x `height` 32-bit pixels, counting how often they are made.
struct CountedBands {
  int width = 0;
  int height = 0;
  int made = 0;
  FrameBands operator()() {
    ++made;
    FrameBands bands;
    bands.push_back({Image(FreeImage_Allocate(width, height, 32)), 0, 0});
    return bands;
  }
};

TEST(DrawingCacheTest, FrameBandsAreKeptPerSizeWithinTheirBudget) {
  DrawingCache cache;
  CountedBands small{100, 10};
  for (int i = 0; i < 3; ++i) cache.FrameBandsFor(640, 480, std::ref(small));
  EXPECT_EQ(small.made, 1);
  // Eight more sizes push the first one out.
  for (int size = 1; size <= 8; ++size) {
    CountedBands other{100, 10};
    cache.FrameBandsFor(640 + size, 480, std::ref(other));
  }
  cache.FrameBandsFor(640, 480, std::ref(small));
  EXPECT_EQ(small.made, 2);

  // 10 MiB each against a budget of 16: the second pushes the first out; 20 MiB is never kept.
  CountedBands first{1280, 2048}, second{1280, 2048}, huge{2560, 2048};
  cache.FrameBandsFor(6000, 4000, std::ref(first));
  cache.FrameBandsFor(4000, 6000, std::ref(second));
  cache.FrameBandsFor(4000, 6000, std::ref(second));
  cache.FrameBandsFor(6000, 4000, std::ref(first));
  EXPECT_EQ(first.made, 2);
  EXPECT_EQ(second.made, 1);
  for (int i = 0; i < 2; ++i) cache.FrameBandsFor(8000, 6000, std::ref(huge));
  EXPECT_EQ(huge.made, 2);
}

TEST(DrawingCacheTest, TheWatermarkIsDrawnAgainOnlyWhenItsKeyChanges) {
  DrawingCache cache;
  int made = 0;
  const auto make = [&made] {
    ++made;
    return Image(FreeImage_Allocate(4, 4, 32));
  };
  for (const char* key : {"a.png", "a.png", "photo 1", "photo 2", "photo 2"}) {
    EXPECT_TRUE(*cache.WatermarkFor(key, make)) << key;
  }
  EXPECT_EQ(made, 3);
}

}  // namespace
}  // namespace quill
