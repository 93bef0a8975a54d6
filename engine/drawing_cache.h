// The layers a run draws again and again, drawn once: the frame's bands for each image size and
// the watermark as drawn and rotated. One cache serves one run, whose settings do not change;
// the run's workers share it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "engine/image.h"

namespace quill {

// One band of the frame as a 32-bit straight-alpha layer, and where its top-left corner lies
// in the image (counted from the top row).
struct FrameBand {
  Image layer;
  int32_t left = 0;
  int32_t top = 0;
};
using FrameBands = std::vector<FrameBand>;

class DrawingCache {
 public:
  // The frame bands for an image of `width` x `height`, made by `make` unless a file of the
  // same size made them already. The most recent few sizes are kept, within a memory budget.
  std::shared_ptr<const FrameBands> FrameBandsFor(int32_t width, int32_t height,
                                                  const std::function<FrameBands()>& make);
  // The watermark for `key` (the text as expanded for the file, or the picture's path), made by
  // `make` unless the last file had the same key. An empty image means no watermark.
  std::shared_ptr<const Image> WatermarkFor(const std::string& key,
                                            const std::function<Image()>& make);

 private:
  struct SizedBands {
    int32_t width = 0;
    int32_t height = 0;
    uint64_t bytes = 0;  // of the bands' pixels
    std::shared_ptr<const FrameBands> bands;
  };

  std::mutex mutex_;
  std::vector<SizedBands> frames_;  // the most recent last
  uint64_t kept_bytes_ = 0;         // of all the kept bands
  std::string watermark_key_;
  std::shared_ptr<const Image> watermark_;
};

}  // namespace quill
