// The run's drawn layers. Layers are made outside the lock, so that workers that miss at the
// same moment draw side by side; the first to finish is kept.
#include "engine/drawing_cache.h"

#include <algorithm>

namespace quill {
namespace {

// Sizes remembered, and the most memory the kept bands of all sizes may take together (a frame
// covering most of a large photograph is cheaper to draw again than to hold).
constexpr size_t kFrameSizes = 8;
constexpr uint64_t kMaxKeptBandBytes = uint64_t{16} << 20;

uint64_t BytesOf(const FrameBands& bands) {
  uint64_t bytes = 0;
  for (const FrameBand& band : bands) {
    bytes += uint64_t{4} * static_cast<uint64_t>(band.layer.width()) *
             static_cast<uint64_t>(band.layer.height());
  }
  return bytes;
}

}  // namespace

std::shared_ptr<const FrameBands> DrawingCache::FrameBandsFor(
    int32_t width, int32_t height, const std::function<FrameBands()>& make) {
  const auto same_size = [&](const SizedBands& s) {
    return s.width == width && s.height == height;
  };
  {
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(frames_.begin(), frames_.end(), same_size);
    if (found != frames_.end()) {
      // Used again: it becomes the most recent.
      std::rotate(found, found + 1, frames_.end());
      return frames_.back().bands;
    }
  }
  auto bands = std::make_shared<const FrameBands>(make());
  const uint64_t bytes = BytesOf(*bands);
  if (bytes > kMaxKeptBandBytes) return bands;
  const std::lock_guard lock(mutex_);
  const auto found = std::find_if(frames_.begin(), frames_.end(), same_size);
  if (found != frames_.end()) return found->bands;
  // The least recently used sizes make room.
  while (!frames_.empty() &&
         (frames_.size() == kFrameSizes || kept_bytes_ + bytes > kMaxKeptBandBytes)) {
    kept_bytes_ -= frames_.front().bytes;
    frames_.erase(frames_.begin());
  }
  frames_.push_back({width, height, bytes, bands});
  kept_bytes_ += bytes;
  return bands;
}

std::shared_ptr<const Image> DrawingCache::WatermarkFor(const std::string& key,
                                                        const std::function<Image()>& make) {
  {
    const std::lock_guard lock(mutex_);
    if (watermark_ && watermark_key_ == key) return watermark_;
  }
  auto mark = std::make_shared<const Image>(make());
  const std::lock_guard lock(mutex_);
  watermark_key_ = key;
  watermark_ = mark;
  return mark;
}

}  // namespace quill
