// The owner of one library image: the pipeline's steps pass images by value, so a step that
// makes a new image frees the one it was given simply by letting its argument go.
#pragma once

#include <FreeImage.h>

#include <cstdint>

namespace quill {

// Owns one FIBITMAP and unloads it when destroyed. Move-only; an empty Image stands for "no
// image", the result of a failed step, which every later step passes on unchanged.
class Image {
 public:
  Image() = default;
  // Takes ownership of `bitmap` (which may be null).
  explicit Image(FIBITMAP* bitmap) : bitmap_(bitmap) {}
  Image(Image&& other) noexcept : bitmap_(other.bitmap_) { other.bitmap_ = nullptr; }
  Image& operator=(Image&& other) noexcept {
    if (this != &other) {
      Reset();
      bitmap_ = other.bitmap_;
      other.bitmap_ = nullptr;
    }
    return *this;
  }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  ~Image() { Reset(); }

  bool empty() const { return bitmap_ == nullptr; }
  explicit operator bool() const { return bitmap_ != nullptr; }

  // The handle for library calls; the Image keeps ownership.
  FIBITMAP* get() const { return bitmap_; }
  // Gives up ownership: the caller unloads the handle.
  FIBITMAP* Release() {
    FIBITMAP* bitmap = bitmap_;
    bitmap_ = nullptr;
    return bitmap;
  }
  // Unloads the image now and leaves this empty.
  void Reset() {
    if (bitmap_ != nullptr) FreeImage_Unload(bitmap_);
    bitmap_ = nullptr;
  }

  // Size and depth as the library reports them; 0 for an empty Image.
  int32_t width() const { return bitmap_ ? static_cast<int32_t>(FreeImage_GetWidth(bitmap_)) : 0; }
  int32_t height() const {
    return bitmap_ ? static_cast<int32_t>(FreeImage_GetHeight(bitmap_)) : 0;
  }
  int32_t bpp() const { return bitmap_ ? static_cast<int32_t>(FreeImage_GetBPP(bitmap_)) : 0; }
  FREE_IMAGE_TYPE type() const { return bitmap_ ? FreeImage_GetImageType(bitmap_) : FIT_UNKNOWN; }

 private:
  FIBITMAP* bitmap_ = nullptr;
};

}  // namespace quill
