// The settings record: every user setting with its group, key, type, defaults and console option.
//
// Members are named in snake_case after their configuration key ("JPG Quality" -> jpg_quality);
// where two groups share a key, the group comes first ("Format" -> input_format, output_format).
// The table returned by SettingsTable() lists every member in record order, group by group, and
// is what the configuration file, the console options, the profiles and the report loop over.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace quill {

struct Settings {
  // Not persisted.
  std::string configuration_path;

  // General
  int32_t cfg = 17;
  std::string language;
  int32_t update_range = 0;
  int32_t update_date = 0;
  int8_t save_window_position = 0;
  // Window
  int8_t is_maximized = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  // Interface
  std::string ui_theme;
  int32_t ui_size = 0;
  // Input
  std::string input_format;
  int32_t dds_load_as = 0, gif_frame_loading = 0, ico_frame_loading = 0, tiff_frame_loading = 0;
  int32_t raw_load_as = 0, raw_header_size = 0, raw_image_width = 0, raw_image_height = 0;
  int32_t raw_tone_mapping = 0;
  // Output
  std::string output_format;
  int32_t bmp_bpp = 0, bmp_compression = 0, bmp_color_table = 0, dds_bpp = 0, exr_bpp = 0;
  int32_t exr_compression = 0, gif_bpp = 0, hdr_bpp = 0, ico_bpp = 0, j2k_bpp = 0, jng_bpp = 0;
  int32_t jp2_bpp = 0, jpg_bpp = 0, jpg_quality = 0, jpg_chroma = 0, jpg_save_as = 0;
  int32_t jxr_bpp = 0, pbm_bpp = 0, pcx_bpp = 0, pfm_bpp = 0, pgm_bpp = 0, png_bpp = 0;
  int32_t png_compression = 0;
  int8_t png_interlaced = 0;
  int32_t ppm_bpp = 0, psd_bpp = 0, tga_bpp = 0, tga_compression = 0, tiff_bpp = 0;
  int32_t tiff_compression = 0, tiff_color_model = 0, wbmp_bpp = 0, webp_bpp = 0, xpm_bpp = 0;
  // Transform
  int8_t do_image_rotation = 0, image_rotation_type = 0;
  int32_t image_rotation = 0;
  std::string image_rotation_back_color;
  int8_t do_image_resize = 0;
  int32_t image_width = 0;
  int8_t image_width_unit = 0;
  int32_t image_height = 0;
  int8_t image_height_unit = 0, keep_aspect_ratio = 0, image_resize_type = 0;
  int8_t image_resize_algorithm = 0, do_image_flip_horizontal = 0, do_image_flip_vertical = 0;
  // Adjustment
  int8_t do_image_color_correction = 0;
  int32_t image_brightness = 0, image_contrast = 0;
  float image_gamma = 1.0f;
  int8_t image_invert = 0, do_image_greyscale = 0, do_image_threshold = 0;
  int32_t image_threshold = 0;
  // Frame
  int8_t do_frame = 0;
  int32_t solid_left = 0, solid_right = 0, solid_top = 0, solid_bottom = 0;
  std::string solid_left_color, solid_right_color, solid_top_color, solid_bottom_color;
  int32_t solid_opacity = 0;
  // Watermark
  int8_t do_watermark = 0;
  std::string text, fonts, font;
  int32_t font_size = 0, font_leading = 0;
  std::string font_colors, font_color;
  int8_t font_style = 0, font_effect = 0, text_antialiasing = 0, text_alignment = 0;
  int32_t text_padding = 0, text_opacity = 0;
  std::string back_colors, back_color;
  int32_t back_opacity = 0;
  int8_t text_boundary = 0, text_position = 0;
  int32_t text_x_offset = 0, text_y_offset = 0, text_rotation = 0;
  int8_t text_size = 0;
  int32_t text_scale = 0;
  std::string image;
  int8_t image_greyscale = 0;
  int32_t image_opacity = 0;
  int8_t image_boundary = 0, image_position = 0;
  int32_t image_x_offset = 0, image_y_offset = 0, watermark_image_rotation = 0;
  int8_t image_size = 0;
  int32_t image_scale = 0;
  // Advanced
  std::string filename_mask;
  int8_t file_timestamp = 0;
  int32_t custom_timestamp = 0;
  int8_t out_folders_history = 0, out_folders_number = 0, keep_subfolders = 0;
  // File
  std::string recent_out_folders, recent_files;
  // Privacy
  int8_t clean_recent_files = 0;
};

enum class SettingType { kInt32, kInt8, kFloat, kText };

// What a default means beyond its literal value.
enum class DefaultKind {
  kLiteral,           // the text in `default_value`
  kCurrentDate,       // the current local date and time
  kScreenX,           // centred on the primary screen's width
  kScreenY,           // centred on the primary screen's height
  kFirstInputFormat,  // first entry of the edition's input formats
  kFirstOutputFormat  // first entry of the edition's output formats
};

using SettingMember = std::variant<int32_t Settings::*, int8_t Settings::*, float Settings::*,
                                   std::string Settings::*>;

// One row of the settings table.
struct SettingInfo {
  std::string_view group;
  std::string_view key;
  SettingMember member;
  DefaultKind default_kind = DefaultKind::kLiteral;
  std::string_view default_value;   // desktop flavour
  std::string_view console_default;  // console flavour when it differs, else empty
  std::string_view missing_value;    // what a missing configuration key reads as, when not the
                                     // default ("CFG" 0, "X"/"Y" 100, "Keep Aspect Ratio" 1)
  std::string_view console_option;   // lower case with "--", empty when none
  int vocabulary = -1;               // keyword vocabulary, -1 when none
  bool is_colour = false;
  bool is_date = false;

  SettingType type() const { return static_cast<SettingType>(member.index()); }
};

std::span<const SettingInfo> SettingsTable();

// The row of a group and key (exact names), or nullptr.
const SettingInfo* FindSetting(std::string_view group, std::string_view key);

// Generic access to a row's member. An int8 member keeps the low 8 bits of what it is given.
void SetInteger(Settings& settings, const SettingInfo& row, int64_t value);
int64_t GetInteger(const Settings& settings, const SettingInfo& row);
void SetFloat(Settings& settings, const SettingInfo& row, float value);
float GetFloat(const Settings& settings, const SettingInfo& row);
void SetText(Settings& settings, const SettingInfo& row, std::string value);
const std::string& GetText(const Settings& settings, const SettingInfo& row);

enum class DefaultsFlavour { kDesktop, kConsole };

// Sets every persisted setting to its default; the head fields stay as they are.
void ResetSettings(Settings& settings, DefaultsFlavour flavour);

struct ScreenSize {
  int width = 1024;
  int height = 768;
};
// The primary screen's size: what the provider says, or 1024 x 768 without one (no display).
ScreenSize PrimaryScreenSize();
// The desktop mode installs a provider that asks the display.
void SetScreenSizeProvider(std::function<ScreenSize()> provider);

// The default window position on a screen: centred when the screen is larger than the window,
// else 100.
int32_t DefaultWindowX(const ScreenSize& screen);
int32_t DefaultWindowY(const ScreenSize& screen);

}  // namespace quill
