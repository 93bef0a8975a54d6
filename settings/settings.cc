// The settings table, the defaults and generic access to the record's members.
#include "settings/settings.h"

#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/dates.h"
#include "settings/product.h"

namespace quill {
namespace {

using S = Settings;
using D = DefaultKind;

// Rows leave their trailing columns to the defaults of SettingInfo.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Every persisted setting in record order. Columns: group, key, member, default kind, default,
// console default, value of a missing key, console option, vocabulary, colour, date.
const SettingInfo kTable[] = {
    {"General", "CFG", &S::cfg, D::kLiteral, "17", "", "0"},
    {"General", "Language", &S::language, D::kLiteral, "en"},
    {"General", "Update Range", &S::update_range, D::kLiteral, "2"},
    {"General", "Update Date", &S::update_date, D::kCurrentDate, "", "", "", "", -1, false, true},
    {"General", "Save Window Position", &S::save_window_position, D::kLiteral, "1"},
    {"Window", "IsMaximized", &S::is_maximized, D::kLiteral, "0"},
    {"Window", "X", &S::x, D::kScreenX, "", "", "100"},
    {"Window", "Y", &S::y, D::kScreenY, "", "", "100"},
    {"Window", "Width", &S::width, D::kLiteral, "510"},
    {"Window", "Height", &S::height, D::kLiteral, "330"},
    {"Interface", "UI Theme", &S::ui_theme, D::kLiteral, "handdrawn"},
    {"Interface", "UI Size", &S::ui_size, D::kLiteral, "2"},
    {"Input", "Format", &S::input_format, D::kFirstInputFormat},
    {"Input", "DDS Load As", &S::dds_load_as, D::kLiteral, "0", "", "", "--dds-load-as", 0},
    {"Input", "GIF Frame Loading", &S::gif_frame_loading, D::kLiteral, "0", "", "",
     "--gif-frame-loading", 2},
    {"Input", "ICO Frame Loading", &S::ico_frame_loading, D::kLiteral, "0", "", "",
     "--ico-frame-loading", 2},
    {"Input", "TIFF Frame Loading", &S::tiff_frame_loading, D::kLiteral, "0", "", "",
     "--tiff-frame-loading", 2},
    {"Input", "RAW Load As", &S::raw_load_as, D::kLiteral, "0", "", "", "--raw-load-as", 1},
    {"Input", "RAW Header Size", &S::raw_header_size, D::kLiteral, "0", "", "",
     "--raw-header-size"},
    {"Input", "RAW Image Width", &S::raw_image_width, D::kLiteral, "0", "", "", "--raw-width"},
    {"Input", "RAW Image Height", &S::raw_image_height, D::kLiteral, "0", "", "", "--raw-height"},
    {"Input", "RAW Tone Mapping", &S::raw_tone_mapping, D::kLiteral, "2", "", "",
     "--raw-tone-mapping", 3},
    {"Output", "Format", &S::output_format, D::kFirstOutputFormat},
    {"Output", "BMP BPP", &S::bmp_bpp, D::kLiteral, "0", "", "", "--bmp-bpp"},
    {"Output", "BMP Compression", &S::bmp_compression, D::kLiteral, "0", "", "",
     "--bmp-compression", 4},
    {"Output", "BMP Color Table", &S::bmp_color_table, D::kLiteral, "0", "", "",
     "--bmp-color-table", 5},
    {"Output", "DDS BPP", &S::dds_bpp, D::kLiteral, "0", "", "", "--dds-bpp"},
    {"Output", "EXR BPP", &S::exr_bpp, D::kLiteral, "0", "", "", "--exr-bpp"},
    {"Output", "EXR Compression", &S::exr_compression, D::kLiteral, "0", "", "",
     "--exr-compression", 4},
    {"Output", "GIF BPP", &S::gif_bpp, D::kLiteral, "0", "", "", "--gif-bpp"},
    {"Output", "HDR BPP", &S::hdr_bpp, D::kLiteral, "0", "", "", "--hdr-bpp"},
    {"Output", "ICO BPP", &S::ico_bpp, D::kLiteral, "0", "", "", "--ico-bpp"},
    {"Output", "J2K BPP", &S::j2k_bpp, D::kLiteral, "0", "", "", "--j2k-bpp"},
    {"Output", "JNG BPP", &S::jng_bpp, D::kLiteral, "0", "", "", "--jng-bpp"},
    {"Output", "JP2 BPP", &S::jp2_bpp, D::kLiteral, "0", "", "", "--jp2-bpp"},
    {"Output", "JPG BPP", &S::jpg_bpp, D::kLiteral, "0", "", "", "--jpg-bpp"},
    {"Output", "JPG Quality", &S::jpg_quality, D::kLiteral, "95", "", "", "--jpg-quality"},
    {"Output", "JPG Chroma", &S::jpg_chroma, D::kLiteral, "0", "", "", "--jpg-chroma", 7},
    {"Output", "JPG Save As", &S::jpg_save_as, D::kLiteral, "0", "", "", "--jpg-save-as", 8},
    {"Output", "JXR BPP", &S::jxr_bpp, D::kLiteral, "0", "", "", "--jxr-bpp"},
    {"Output", "PBM BPP", &S::pbm_bpp, D::kLiteral, "0", "", "", "--pbm-bpp"},
    {"Output", "PCX BPP", &S::pcx_bpp, D::kLiteral, "0", "", "", "--pcx-bpp"},
    {"Output", "PFM BPP", &S::pfm_bpp, D::kLiteral, "0", "", "", "--pfm-bpp"},
    {"Output", "PGM BPP", &S::pgm_bpp, D::kLiteral, "0", "", "", "--pgm-bpp"},
    {"Output", "PNG BPP", &S::png_bpp, D::kLiteral, "0", "", "", "--png-bpp"},
    {"Output", "PNG Compression", &S::png_compression, D::kLiteral, "0", "", "",
     "--png-compression", 4},
    {"Output", "PNG Interlaced", &S::png_interlaced, D::kLiteral, "0", "", "",
     "--png-interlaced"},
    {"Output", "PPM BPP", &S::ppm_bpp, D::kLiteral, "0", "", "", "--ppm-bpp"},
    {"Output", "PSD BPP", &S::psd_bpp, D::kLiteral, "0", "", "", "--psd-bpp"},
    {"Output", "TGA BPP", &S::tga_bpp, D::kLiteral, "0", "", "", "--tga-bpp"},
    {"Output", "TGA Compression", &S::tga_compression, D::kLiteral, "0", "", "",
     "--tga-compression", 4},
    {"Output", "TIFF BPP", &S::tiff_bpp, D::kLiteral, "0", "", "", "--tiff-bpp"},
    {"Output", "TIFF Compression", &S::tiff_compression, D::kLiteral, "0", "", "",
     "--tiff-compression", 4},
    {"Output", "TIFF Color Model", &S::tiff_color_model, D::kLiteral, "0", "", "",
     "--tiff-color-model", 6},
    {"Output", "WBMP BPP", &S::wbmp_bpp, D::kLiteral, "0", "", "", "--wbmp-bpp"},
    {"Output", "WEBP BPP", &S::webp_bpp, D::kLiteral, "0", "", "", "--webp-bpp"},
    {"Output", "XPM BPP", &S::xpm_bpp, D::kLiteral, "0", "", "", "--xpm-bpp"},
    {"Transform", "Do Image Rotation", &S::do_image_rotation, D::kLiteral, "0"},
    {"Transform", "Image Rotation Type", &S::image_rotation_type, D::kLiteral, "0", "", "",
     "--rotation-type", 9},
    {"Transform", "Image Rotation", &S::image_rotation, D::kLiteral, "0", "", "", "--rotation"},
    {"Transform", "Image Rotation Back Color", &S::image_rotation_back_color, D::kLiteral,
     "000000", "", "", "--rotation-back-color", -1, true},
    {"Transform", "Do Image Resize", &S::do_image_resize, D::kLiteral, "0"},
    {"Transform", "Image Width", &S::image_width, D::kLiteral, "0", "", "", "--width"},
    {"Transform", "Image Width Unit", &S::image_width_unit, D::kLiteral, "0", "", "",
     "--width-unit", 10},
    {"Transform", "Image Height", &S::image_height, D::kLiteral, "0", "", "", "--height"},
    {"Transform", "Image Height Unit", &S::image_height_unit, D::kLiteral, "0", "", "",
     "--height-unit", 10},
    {"Transform", "Keep Aspect Ratio", &S::keep_aspect_ratio, D::kLiteral, "1", "0", "1",
     "--keep-aspect-ratio"},
    {"Transform", "Image Resize Type", &S::image_resize_type, D::kLiteral, "0", "", "",
     "--resize-type", 11},
    {"Transform", "Image Resize Algorithm", &S::image_resize_algorithm, D::kLiteral, "3", "", "",
     "--resize-algorithm", 12},
    {"Transform", "Do Image Flip Horizontal", &S::do_image_flip_horizontal, D::kLiteral, "0", "",
     "", "--flip-horizontal"},
    {"Transform", "Do Image Flip Vertical", &S::do_image_flip_vertical, D::kLiteral, "0", "", "",
     "--flip-vertical"},
    {"Adjustment", "Do Image Color Correction", &S::do_image_color_correction, D::kLiteral, "0"},
    {"Adjustment", "Image Brightness", &S::image_brightness, D::kLiteral, "0", "", "",
     "--brightness"},
    {"Adjustment", "Image Contrast", &S::image_contrast, D::kLiteral, "0", "", "", "--contrast"},
    {"Adjustment", "Image Gamma", &S::image_gamma, D::kLiteral, "1.0", "", "", "--gamma"},
    {"Adjustment", "Image Invert", &S::image_invert, D::kLiteral, "0", "", "", "--invert"},
    {"Adjustment", "Do Image Greyscale", &S::do_image_greyscale, D::kLiteral, "0", "", "",
     "--greyscale"},
    {"Adjustment", "Do Image Threshold", &S::do_image_threshold, D::kLiteral, "0"},
    {"Adjustment", "Image Threshold", &S::image_threshold, D::kLiteral, "0", "", "",
     "--threshold"},
    {"Frame", "Do Frame", &S::do_frame, D::kLiteral, "0", "", "", "", 13},
    {"Frame", "Solid Left", &S::solid_left, D::kLiteral, "0", "", "", "--fr-solid-left"},
    {"Frame", "Solid Right", &S::solid_right, D::kLiteral, "0", "", "", "--fr-solid-right"},
    {"Frame", "Solid Top", &S::solid_top, D::kLiteral, "0", "", "", "--fr-solid-top"},
    {"Frame", "Solid Bottom", &S::solid_bottom, D::kLiteral, "0", "", "", "--fr-solid-bottom"},
    {"Frame", "Solid Left Color", &S::solid_left_color, D::kLiteral, "000000", "", "",
     "--fr-solid-left-color", -1, true},
    {"Frame", "Solid Right Color", &S::solid_right_color, D::kLiteral, "000000", "", "",
     "--fr-solid-right-color", -1, true},
    {"Frame", "Solid Top Color", &S::solid_top_color, D::kLiteral, "000000", "", "",
     "--fr-solid-top-color", -1, true},
    {"Frame", "Solid Bottom Color", &S::solid_bottom_color, D::kLiteral, "000000", "", "",
     "--fr-solid-bottom-color", -1, true},
    {"Frame", "Solid Opacity", &S::solid_opacity, D::kLiteral, "255", "", "",
     "--fr-solid-opacity"},
    {"Watermark", "Do Watermark", &S::do_watermark, D::kLiteral, "0", "", "", "", 14},
    {"Watermark", "Text", &S::text, D::kLiteral, "Converted with Quillmere", "", "", "--wm-text"},
    {"Watermark", "Fonts", &S::fonts, D::kLiteral, "Arial,Tahoma,Verdana"},
    {"Watermark", "Font", &S::font, D::kLiteral, "Arial", "", "", "--wm-font"},
    {"Watermark", "Font Size", &S::font_size, D::kLiteral, "14", "", "", "--wm-font-size"},
    {"Watermark", "Font Leading", &S::font_leading, D::kLiteral, "0", "", "",
     "--wm-font-leading"},
    {"Watermark", "Font Colors", &S::font_colors, D::kLiteral,
     "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"},
    {"Watermark", "Font Color", &S::font_color, D::kLiteral, "FFFFFF", "", "", "--wm-font-color",
     -1, true},
    {"Watermark", "Font Style", &S::font_style, D::kLiteral, "0", "", "", "--wm-font-style", 15},
    {"Watermark", "Font Effect", &S::font_effect, D::kLiteral, "0", "", "", "--wm-font-effect",
     16},
    {"Watermark", "Text Antialiasing", &S::text_antialiasing, D::kLiteral, "0", "", "",
     "--wm-text-antialiasing"},
    {"Watermark", "Text Alignment", &S::text_alignment, D::kLiteral, "0", "", "",
     "--wm-text-alignment", 17},
    {"Watermark", "Text Padding", &S::text_padding, D::kLiteral, "0", "", "",
     "--wm-text-padding"},
    {"Watermark", "Text Opacity", &S::text_opacity, D::kLiteral, "255", "", "",
     "--wm-text-opacity"},
    {"Watermark", "Back Colors", &S::back_colors, D::kLiteral,
     "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"},
    {"Watermark", "Back Color", &S::back_color, D::kLiteral, "000000", "", "", "--wm-back-color",
     -1, true},
    {"Watermark", "Back Opacity", &S::back_opacity, D::kLiteral, "1", "", "",
     "--wm-back-opacity"},
    {"Watermark", "Text Boundary", &S::text_boundary, D::kLiteral, "0", "", "",
     "--wm-text-boundary", 18},
    {"Watermark", "Text Position", &S::text_position, D::kLiteral, "8", "", "",
     "--wm-text-position", 19},
    {"Watermark", "Text X Offset", &S::text_x_offset, D::kLiteral, "10", "", "",
     "--wm-text-x-offset"},
    {"Watermark", "Text Y Offset", &S::text_y_offset, D::kLiteral, "10", "", "",
     "--wm-text-y-offset"},
    {"Watermark", "Text Rotation", &S::text_rotation, D::kLiteral, "0", "", "",
     "--wm-text-rotation"},
    {"Watermark", "Text Size", &S::text_size, D::kLiteral, "0", "", "", "--wm-text-size", 20},
    {"Watermark", "Text Scale", &S::text_scale, D::kLiteral, "10"},
    {"Watermark", "Image", &S::image, D::kLiteral, "", "", "", "--wm-image"},
    {"Watermark", "Image Greyscale", &S::image_greyscale, D::kLiteral, "0", "", "",
     "--wm-image-greyscale"},
    {"Watermark", "Image Opacity", &S::image_opacity, D::kLiteral, "255", "", "",
     "--wm-image-opacity"},
    {"Watermark", "Image Boundary", &S::image_boundary, D::kLiteral, "0", "", "",
     "--wm-image-boundary", 18},
    {"Watermark", "Image Position", &S::image_position, D::kLiteral, "8", "", "",
     "--wm-image-position", 19},
    {"Watermark", "Image X Offset", &S::image_x_offset, D::kLiteral, "10", "", "",
     "--wm-image-x-offset"},
    {"Watermark", "Image Y Offset", &S::image_y_offset, D::kLiteral, "10", "", "",
     "--wm-image-y-offset"},
    {"Watermark", "Image Rotation", &S::watermark_image_rotation, D::kLiteral, "0", "", "",
     "--wm-image-rotation"},
    {"Watermark", "Image Size", &S::image_size, D::kLiteral, "0", "", "", "--wm-image-size", 20},
    {"Watermark", "Image Scale", &S::image_scale, D::kLiteral, "10"},
    {"Advanced", "Filename Mask", &S::filename_mask, D::kLiteral, "%filename%.%ext%", "", "",
     "--filename-mask"},
    {"Advanced", "File Timestamp", &S::file_timestamp, D::kLiteral, "0", "", "",
     "--file-timestamp", 21},
    {"Advanced", "Custom Timestamp", &S::custom_timestamp, D::kCurrentDate, "", "", "",
     "--file-timestamp-custom", -1, false, true},
    {"Advanced", "Out Folders History", &S::out_folders_history, D::kLiteral, "1"},
    {"Advanced", "Out Folders Number", &S::out_folders_number, D::kLiteral, "5"},
    {"Advanced", "Keep Subfolders", &S::keep_subfolders, D::kLiteral, "1", "", "",
     "--no-subfolders"},
    {"File", "Recent Out Folders", &S::recent_out_folders, D::kLiteral, ""},
    {"File", "Recent Files", &S::recent_files, D::kLiteral, ""},
    {"Privacy", "Clean Recent Files", &S::clean_recent_files, D::kLiteral, "0"},
};
#pragma GCC diagnostic pop

std::mutex provider_mutex;
std::function<ScreenSize()>& Provider() {
  static std::function<ScreenSize()> provider;
  return provider;
}

void SetLiteral(Settings& settings, const SettingInfo& row, std::string_view value) {
  const std::string text(value);
  switch (row.type()) {
    case SettingType::kInt32:
    case SettingType::kInt8:
      SetInteger(settings, row, std::strtoll(text.c_str(), nullptr, 10));
      break;
    case SettingType::kFloat:
      SetFloat(settings, row, std::strtof(text.c_str(), nullptr));
      break;
    case SettingType::kText:
      SetText(settings, row, text);
      break;
  }
}

}  // namespace

std::span<const SettingInfo> SettingsTable() { return kTable; }

const SettingInfo* FindSetting(std::string_view group, std::string_view key) {
  for (const SettingInfo& row : kTable) {
    if (row.group == group && row.key == key) return &row;
  }
  return nullptr;
}

void SetInteger(Settings& settings, const SettingInfo& row, int64_t value) {
  if (auto p = std::get_if<int32_t Settings::*>(&row.member)) {
    settings.*(*p) = static_cast<int32_t>(static_cast<uint32_t>(value));
  } else if (auto q = std::get_if<int8_t Settings::*>(&row.member)) {
    settings.*(*q) = static_cast<int8_t>(static_cast<uint8_t>(value));
  } else if (auto f = std::get_if<float Settings::*>(&row.member)) {
    settings.*(*f) = static_cast<float>(value);
  }
}

int64_t GetInteger(const Settings& settings, const SettingInfo& row) {
  if (auto p = std::get_if<int32_t Settings::*>(&row.member)) return settings.*(*p);
  if (auto q = std::get_if<int8_t Settings::*>(&row.member)) return settings.*(*q);
  if (auto f = std::get_if<float Settings::*>(&row.member)) {
    return static_cast<int64_t>(settings.*(*f));
  }
  return 0;
}

void SetFloat(Settings& settings, const SettingInfo& row, float value) {
  if (auto f = std::get_if<float Settings::*>(&row.member)) settings.*(*f) = value;
}

float GetFloat(const Settings& settings, const SettingInfo& row) {
  if (auto f = std::get_if<float Settings::*>(&row.member)) return settings.*(*f);
  return static_cast<float>(GetInteger(settings, row));
}

void SetText(Settings& settings, const SettingInfo& row, std::string value) {
  if (auto t = std::get_if<std::string Settings::*>(&row.member)) settings.*(*t) = std::move(value);
}

const std::string& GetText(const Settings& settings, const SettingInfo& row) {
  static const std::string empty;
  if (auto t = std::get_if<std::string Settings::*>(&row.member)) return settings.*(*t);
  return empty;
}

ScreenSize PrimaryScreenSize() {
  std::lock_guard<std::mutex> lock(provider_mutex);
  return Provider() ? Provider()() : ScreenSize{};
}

void SetScreenSizeProvider(std::function<ScreenSize()> provider) {
  std::lock_guard<std::mutex> lock(provider_mutex);
  Provider() = std::move(provider);
}

int32_t DefaultWindowX(const ScreenSize& screen) {
  return screen.width > 510 ? (screen.width - 510) / 2 : 100;
}

int32_t DefaultWindowY(const ScreenSize& screen) {
  return screen.height > 330 ? (screen.height - 330) / 2 : 100;
}

void ResetSettings(Settings& settings, DefaultsFlavour flavour) {
  const ScreenSize screen = PrimaryScreenSize();
  const int32_t now = platform::CurrentDate();
  for (const SettingInfo& row : kTable) {
    switch (row.default_kind) {
      case DefaultKind::kLiteral:
        SetLiteral(settings, row,
                   flavour == DefaultsFlavour::kConsole && !row.console_default.empty()
                       ? row.console_default
                       : row.default_value);
        break;
      case DefaultKind::kCurrentDate:
        SetInteger(settings, row, now);
        break;
      case DefaultKind::kScreenX:
        SetInteger(settings, row, DefaultWindowX(screen));
        break;
      case DefaultKind::kScreenY:
        SetInteger(settings, row, DefaultWindowY(screen));
        break;
      case DefaultKind::kFirstInputFormat:
        SetText(settings, row, EnabledInputFormats().front());
        break;
      case DefaultKind::kFirstOutputFormat:
        SetText(settings, row, EnabledOutputFormats().front());
        break;
    }
  }
}

}  // namespace quill
