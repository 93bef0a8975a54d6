// The watermark font: one font of the process, made from the watermark settings by the front
// end before a conversion run and dropped after it, and the text measuring and drawing done
// with it. Faces are found through fontconfig, so any installed family, or the substitute that
// fontconfig chooses for it, makes a usable font.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/canvas.h"

namespace quill {

struct Settings;

class WatermarkFont {
 public:
  // The font of "Font" at "Font Size" points on a 96 dots-per-inch screen (a pixel height of
  // round(size x 96 / 72)), bold for styles 1 and 3, italic for styles 2 and 3, underlined for
  // effect 1 and struck through for effect 2. Null when no font can be made: an empty family, a
  // size of 0 or less, or no font at all on the system.
  static std::unique_ptr<WatermarkFont> Create(const std::string& family, int32_t size,
                                               int32_t style, int32_t effect);
  static std::unique_ptr<WatermarkFont> Create(const Settings& settings);
  ~WatermarkFont();
  WatermarkFont(const WatermarkFont&) = delete;
  WatermarkFont& operator=(const WatermarkFont&) = delete;

  struct Extent {
    int width = 0;
    int height = 0;
  };
  // The size of one line of text as Draw lays it out: its advance width and the line height.
  Extent Measure(std::string_view line, bool antialias) const;
  // Draws one line with its top-left corner at (x, y). Smooth text (antialias on) is blended
  // over the canvas; plain text writes its pixels as they are, colour and opacity together.
  void Draw(Canvas& canvas, std::string_view line, int x, int y, Rgba colour, bool antialias) const;

  // The family that the font was found as ("Liberation Sans" for "Arial" on many systems).
  std::string ResolvedFamily() const;
  int pixel_height() const { return pixel_height_; }

 private:
  struct Parts;
  WatermarkFont(std::unique_ptr<Parts> parts, int pixel_height);

  std::unique_ptr<Parts> parts_;
  int pixel_height_ = 0;
};

// The font of the run, or null when none is loaded.
const WatermarkFont* CurrentWatermarkFont();

// Makes the font of the run from the settings for as long as it lives, and drops it after.
class ScopedWatermarkFont {
 public:
  explicit ScopedWatermarkFont(const Settings& settings);
  ~ScopedWatermarkFont();
  ScopedWatermarkFont(const ScopedWatermarkFont&) = delete;
  ScopedWatermarkFont& operator=(const ScopedWatermarkFont&) = delete;
  bool loaded() const { return CurrentWatermarkFont() != nullptr; }
};

}  // namespace quill
