// The settings record and the one table that describes it: every user setting with its group,
// key, type, defaults, console option and keyword vocabulary.
//
// Member names. Every persisted setting is one member named after its configuration key:
//   - letters lower case, each blank becomes "_", and "_" also goes between a lower-case letter
//     and the upper-case letter that follows it:
//       "JPG Quality" -> jpg_quality, "Image Rotation Back Color" -> image_rotation_back_color,
//       "IsMaximized" -> is_maximized, "WEBP BPP" -> webp_bpp, "X" -> x;
//   - a key that two groups share gets its group in front, in both groups:
//       "Format" -> input_format / output_format,
//       "Image Rotation" -> transform_image_rotation / watermark_image_rotation.
// The test of the table checks every member against this rule.
//
// Types: int32_t (int32 settings and dates), int8_t (int8 settings and flags), float, and
// std::string (UTF-8 texts and RRGGBB colours). A freshly constructed Settings holds zeros and
// empty texts; ResetSettings() gives it the defaults.
//
// SettingsTable() lists the persisted settings in record order, group by group. Reset, the
// configuration file, the console options and profiles, the -d report and the preferences
// dialog loop over it; code that needs one particular setting uses the member directly.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace quill {

// The layout version of the configuration file written by this program ("CFG").
inline constexpr int32_t kConfigurationLayout = 17;

struct Settings {
  // Head fields, not persisted and not touched by ResetSettings(). The single-instance lock
  // is held by the start-up code, not here.
  std::string configuration_path;  // empty until the desktop mode sets it
  int32_t menu_bar_height = 0;     // main window layout, measured when the bars are built
  int32_t toolbar_height = 0;
  int32_t status_bar_height = 0;
  int32_t extra_top_offset = 0;  // always 0

  // General
  int32_t cfg = 0;
  std::string language;
  int32_t update_range = 0;
  int32_t update_date = 0;
  int8_t save_window_position = 0;
  // Window
  int8_t is_maximized = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  // Interface
  std::string ui_theme;
  int32_t ui_size = 0;
  // Input
  std::string input_format;
  int32_t dds_load_as = 0;
  int32_t gif_frame_loading = 0;
  int32_t ico_frame_loading = 0;
  int32_t tiff_frame_loading = 0;
  int32_t raw_load_as = 0;
  int32_t raw_header_size = 0;
  int32_t raw_image_width = 0;
  int32_t raw_image_height = 0;
  int32_t raw_tone_mapping = 0;
  // Output
  std::string output_format;
  int32_t bmp_bpp = 0;
  int32_t bmp_compression = 0;
  int32_t bmp_color_table = 0;
  int32_t dds_bpp = 0;
  int32_t exr_bpp = 0;
  int32_t exr_compression = 0;
  int32_t gif_bpp = 0;
  int32_t hdr_bpp = 0;
  int32_t ico_bpp = 0;
  int32_t j2k_bpp = 0;
  int32_t jng_bpp = 0;
  int32_t jp2_bpp = 0;
  int32_t jpg_bpp = 0;
  int32_t jpg_quality = 0;
  int32_t jpg_chroma = 0;
  int32_t jpg_save_as = 0;
  int32_t jxr_bpp = 0;
  int32_t pbm_bpp = 0;
  int32_t pcx_bpp = 0;
  int32_t pfm_bpp = 0;
  int32_t pgm_bpp = 0;
  int32_t png_bpp = 0;
  int32_t png_compression = 0;
  int8_t png_interlaced = 0;
  int32_t ppm_bpp = 0;
  int32_t psd_bpp = 0;
  int32_t tga_bpp = 0;
  int32_t tga_compression = 0;
  int32_t tiff_bpp = 0;
  int32_t tiff_compression = 0;
  int32_t tiff_color_model = 0;
  int32_t wbmp_bpp = 0;
  int32_t webp_bpp = 0;
  int32_t xpm_bpp = 0;
  // Transform
  int8_t do_image_rotation = 0;
  int8_t image_rotation_type = 0;
  int32_t transform_image_rotation = 0;
  std::string image_rotation_back_color;
  int8_t do_image_resize = 0;
  int32_t image_width = 0;
  int8_t image_width_unit = 0;
  int32_t image_height = 0;
  int8_t image_height_unit = 0;
  int8_t keep_aspect_ratio = 0;
  int8_t image_resize_type = 0;
  int8_t image_resize_algorithm = 0;
  int8_t do_image_flip_horizontal = 0;
  int8_t do_image_flip_vertical = 0;
  // Adjustment
  int8_t do_image_color_correction = 0;
  int32_t image_brightness = 0;
  int32_t image_contrast = 0;
  float image_gamma = 0.0f;
  int8_t image_invert = 0;
  int8_t do_image_greyscale = 0;
  int8_t do_image_threshold = 0;
  int32_t image_threshold = 0;
  // Frame
  int8_t do_frame = 0;
  int32_t solid_left = 0;
  int32_t solid_right = 0;
  int32_t solid_top = 0;
  int32_t solid_bottom = 0;
  std::string solid_left_color;
  std::string solid_right_color;
  std::string solid_top_color;
  std::string solid_bottom_color;
  int32_t solid_opacity = 0;
  // Watermark
  int8_t do_watermark = 0;
  std::string text;
  std::string fonts;
  std::string font;
  int32_t font_size = 0;
  int32_t font_leading = 0;
  std::string font_colors;
  std::string font_color;
  int8_t font_style = 0;
  int8_t font_effect = 0;
  int8_t text_antialiasing = 0;
  int8_t text_alignment = 0;
  int32_t text_padding = 0;
  int32_t text_opacity = 0;
  std::string back_colors;
  std::string back_color;
  int32_t back_opacity = 0;
  int8_t text_boundary = 0;
  int8_t text_position = 0;
  int32_t text_x_offset = 0;
  int32_t text_y_offset = 0;
  int32_t text_rotation = 0;
  int8_t text_size = 0;
  int32_t text_scale = 0;
  std::string image;
  int8_t image_greyscale = 0;
  int32_t image_opacity = 0;
  int8_t image_boundary = 0;
  int8_t image_position = 0;
  int32_t image_x_offset = 0;
  int32_t image_y_offset = 0;
  int32_t watermark_image_rotation = 0;
  int8_t image_size = 0;
  int32_t image_scale = 0;
  // Advanced
  std::string filename_mask;
  int8_t file_timestamp = 0;
  int32_t custom_timestamp = 0;
  int8_t out_folders_history = 0;
  int8_t out_folders_number = 0;
  int8_t keep_subfolders = 0;
  // File
  std::string recent_out_folders;  // tab-separated, most recent first
  std::string recent_files;
  // Privacy
  int8_t clean_recent_files = 0;
};

// The stored type of a setting; the order is that of SettingMember's alternatives.
enum class SettingType { kInt32, kInt8, kFloat, kText };

// What a stored value means beyond its type.
enum class ValueKind {
  kNumber,   // a count, size, depth, angle or level (int32, int8 or float)
  kFlag,     // int8: 0 off, 1 on
  kKeyword,  // the code of a keyword of the row's vocabulary (int32 or int8)
  kColour,   // text: six hexadecimal digits RRGGBB
  kDate,     // int32: seconds since 1970-01-01 00:00:00 local time (platform/dates.h)
  kText,     // any other text, lists of fonts, colours and folders included
};

// Where a default comes from.
enum class DefaultRule {
  kValue,              // default_number or default_text
  kCurrentDate,        // the current local date and time
  kScreenX,            // the main window centred on the primary screen's width
  kScreenY,            // ... and height
  kFirstInputFormat,   // the first entry of EnabledInputFormats()
  kFirstOutputFormat,  // the first entry of EnabledOutputFormats()
};

// How a console option reads its value.
enum class OptionForm {
  kNone,     // the setting has no console option
  kInteger,  // the number rule, stored in the member's width
  kDecimal,  // the decimal rule, stored as float
  kKeyword,  // trimmed and turned into a code with the row's vocabulary
  kText,     // the text as given
  kFlag,     // no value: the option stores flag_value
};

using SettingMember = std::variant<int32_t Settings::*, int8_t Settings::*, float Settings::*,
                                   std::string Settings::*>;

// One row of the settings table.
struct SettingInfo {
  std::string_view group;        // "Output"
  std::string_view key;          // "JPG Quality"
  SettingMember member;          // &Settings::jpg_quality
  std::string_view member_name;  // "jpg_quality"
  ValueKind kind = ValueKind::kNumber;
  int vocabulary = -1;  // keyword vocabulary number (vocabulary.h), -1 when none
  // Lower-case extension of the input or output format whose load or save option this is
  // ("jpg" for "JPG Quality", "raw" for "RAW Header Size"); empty for every other setting. The
  // configuration file writes such a row only when its format is enabled, and the report shows
  // it only for the job's format.
  std::string_view format;

  // Defaults. The desktop flavour is `default_rule` with `default_number` (numbers, flags,
  // codes) or `default_text`; the console flavour differs only where `console_default` is set.
  DefaultRule default_rule = DefaultRule::kValue;
  double default_number = 0;
  std::string_view default_text;
  std::optional<int32_t> console_default;
  // What a key missing from the configuration file reads as, when that is not the desktop
  // default ("CFG" 0, "X" and "Y" 100). A date missing reads the current date, by its rule.
  std::optional<int32_t> missing_value;
  // The configuration file writes the group's other rows first ("Window": "IsMaximized",
  // "Width", "Height", then "X", "Y"); rows keep their table order among themselves.
  bool written_last = false;

  // Console. `option` is the command-line name, lower case with "--" ("--jpg-quality"), empty
  // when the setting has none; names compare without regard to case. In a profile the option
  // is known as `profile_option` when that is set ("--wm-solid-opacity" for "Solid Opacity",
  // whose command-line name is then not recognised there), else as `option`.
  std::string_view option;
  std::string_view profile_option;
  OptionForm option_form = OptionForm::kNone;
  int8_t flag_value = 0;  // what a kFlag option stores
  // A further int8 setting that the option sets to `also_value` ("--rotation" sets
  // "Do Image Rotation" to 1, "--wm-image" sets "Do Watermark" to 2); null when none.
  int8_t Settings::*also = nullptr;
  int8_t also_value = 0;

  constexpr SettingType type() const { return static_cast<SettingType>(member.index()); }
  constexpr bool has_option() const { return !option.empty(); }
  // The name this setting answers to in a profile file.
  constexpr std::string_view profile_name() const {
    return profile_option.empty() ? option : profile_option;
  }
};

// Every persisted setting, in record order.
std::span<const SettingInfo> SettingsTable();

// The group names in record order: "General", "Window", ..., "Privacy".
std::span<const std::string_view> SettingGroups();

// The row of a group and key (exact spelling), or nullptr.
const SettingInfo* FindSetting(std::string_view group, std::string_view key);
// The row of a member (for example the target of a row's `also`), or nullptr.
const SettingInfo* FindSetting(SettingMember member);
// The row whose command-line option is `name` ("--JPG-QUALITY" or "--jpg-quality"), or nullptr.
const SettingInfo* FindOption(std::string_view name);
// The row whose profile name is `name`, compared without regard to case, or nullptr.
const SettingInfo* FindProfileOption(std::string_view name);

// Generic access to a row's member.
// Integers are stored in the member's width: an int32 keeps the low 32 bits, an int8 the low 8
// bits (300 becomes 44). A float member takes the nearest value. A text member ignores a number
// and a number member ignores a text; reading a number from a text member gives 0, reading the
// text of a number member gives the empty text.
void SetNumber(Settings& settings, const SettingInfo& row, int64_t value);
void SetDecimal(Settings& settings, const SettingInfo& row, double value);
void SetText(Settings& settings, const SettingInfo& row, std::string value);
int64_t GetNumber(const Settings& settings, const SettingInfo& row);  // a float is truncated
double GetDecimal(const Settings& settings, const SettingInfo& row);
const std::string& GetText(const Settings& settings, const SettingInfo& row);
// The value as the configuration file spells it: integers in signed decimal, a float with six
// decimals ("1.000000", "+Infinity", "-Infinity", "NaN"), a text as it is.
std::string ValueText(const Settings& settings, const SettingInfo& row);

enum class DefaultsFlavour { kDesktop, kConsole };

// Sets every persisted setting to its default; the head fields stay as they are.
void ResetSettings(Settings& settings, DefaultsFlavour flavour);
// Sets one setting to its default.
void ResetSetting(Settings& settings, const SettingInfo& row, DefaultsFlavour flavour);
// Sets one setting to what a key missing from the configuration file reads as.
void SetMissingKeyValue(Settings& settings, const SettingInfo& row);

struct ScreenSize {
  int width = 1024;
  int height = 768;
};
// The primary screen's size: what the provider says, or 1024 x 768 without one.
ScreenSize PrimaryScreenSize();
// The desktop mode installs a provider that asks the display; nullptr removes it.
void SetScreenSizeProvider(std::function<ScreenSize()> provider);

// The default position of the main window (510 x 330) on a screen: centred (the halves rounded
// down) when the screen is larger than the window in that direction, else 100.
int32_t DefaultWindowX(const ScreenSize& screen);
int32_t DefaultWindowY(const ScreenSize& screen);

}  // namespace quill
