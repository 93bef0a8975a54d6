// The settings table: one row per persisted setting, in record order.
#include <array>

#include "settings/settings.h"

namespace quill {
namespace {

using S = Settings;

// Builds a row: a kind-specific starting function below, then the columns that differ from
// their defaults.
struct Row {
  SettingInfo info;

  constexpr Row Vocabulary(int number) const {
    Row r = *this;
    r.info.kind = ValueKind::kKeyword;
    r.info.vocabulary = number;
    return r;
  }
  constexpr Row Format(std::string_view extension) const {
    Row r = *this;
    r.info.format = extension;
    return r;
  }
  constexpr Row Rule(DefaultRule rule) const {
    Row r = *this;
    r.info.default_rule = rule;
    return r;
  }
  constexpr Row ConsoleDefault(int32_t value) const {
    Row r = *this;
    r.info.console_default = value;
    return r;
  }
  constexpr Row Missing(int32_t value) const {
    Row r = *this;
    r.info.missing_value = value;
    return r;
  }
  constexpr Row WrittenLast() const {
    Row r = *this;
    r.info.written_last = true;
    return r;
  }
  // A console option that takes a value; how it reads the value follows from the setting.
  constexpr Row Option(std::string_view name) const {
    Row r = *this;
    r.info.option = name;
    if (r.info.kind == ValueKind::kKeyword) {
      r.info.option_form = OptionForm::kKeyword;
    } else if (r.info.type() == SettingType::kText) {
      r.info.option_form = OptionForm::kText;
    } else if (r.info.type() == SettingType::kFloat) {
      r.info.option_form = OptionForm::kDecimal;
    } else {
      r.info.option_form = OptionForm::kInteger;
    }
    return r;
  }
  // A console option without a value that always stores `value`.
  constexpr Row FlagOption(std::string_view name, int8_t value) const {
    Row r = *this;
    r.info.option = name;
    r.info.option_form = OptionForm::kFlag;
    r.info.flag_value = value;
    return r;
  }
  constexpr Row ProfileName(std::string_view name) const {
    Row r = *this;
    r.info.profile_option = name;
    return r;
  }
  constexpr Row Also(int8_t Settings::*member, int8_t value) const {
    Row r = *this;
    r.info.also = member;
    r.info.also_value = value;
    return r;
  }
};

constexpr Row Start(std::string_view group, std::string_view key, SettingMember member,
                    std::string_view name, ValueKind kind) {
  Row r;
  r.info.group = group;
  r.info.key = key;
  r.info.member = member;
  r.info.member_name = name;
  r.info.kind = kind;
  return r;
}

template <typename T>
constexpr Row Number(std::string_view group, std::string_view key, T Settings::*member,
                     std::string_view name, double value) {
  Row r = Start(group, key, member, name, ValueKind::kNumber);
  r.info.default_number = value;
  return r;
}

constexpr Row Flag(std::string_view group, std::string_view key, int8_t Settings::*member,
                   std::string_view name, int8_t value) {
  Row r = Start(group, key, member, name, ValueKind::kFlag);
  r.info.default_number = value;
  return r;
}

template <typename T>
constexpr Row Keyword(std::string_view group, std::string_view key, T Settings::*member,
                      std::string_view name, int vocabulary, int32_t value) {
  return Number(group, key, member, name, value).Vocabulary(vocabulary);
}

constexpr Row Text(std::string_view group, std::string_view key, std::string Settings::*member,
                   std::string_view name, std::string_view value) {
  Row r = Start(group, key, member, name, ValueKind::kText);
  r.info.default_text = value;
  return r;
}

constexpr Row Colour(std::string_view group, std::string_view key, std::string Settings::*member,
                     std::string_view name, std::string_view value) {
  Row r = Start(group, key, member, name, ValueKind::kColour);
  r.info.default_text = value;
  return r;
}

constexpr Row Date(std::string_view group, std::string_view key, int32_t Settings::*member,
                   std::string_view name) {
  return Start(group, key, member, name, ValueKind::kDate).Rule(DefaultRule::kCurrentDate);
}

// The member and its name, spelled once.
#define M(name) &S::name, #name

constexpr char kColourChoices[] = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";

constexpr Row kRows[] = {
    // General
    Number("General", "CFG", M(cfg), kConfigurationLayout).Missing(0),
    Text("General", "Language", M(language), "en"),
    Number("General", "Update Range", M(update_range), 2),
    Date("General", "Update Date", M(update_date)),
    Flag("General", "Save Window Position", M(save_window_position), 1),
    // Window
    Flag("Window", "IsMaximized", M(is_maximized), 0),
    Number("Window", "X", M(x), 0).Rule(DefaultRule::kScreenX).Missing(100).WrittenLast(),
    Number("Window", "Y", M(y), 0).Rule(DefaultRule::kScreenY).Missing(100).WrittenLast(),
    Number("Window", "Width", M(width), 510),
    Number("Window", "Height", M(height), 330),
    // Interface
    Text("Interface", "UI Theme", M(ui_theme), "handdrawn"),
    Number("Interface", "UI Size", M(ui_size), 2),
    // Input
    Text("Input", "Format", M(input_format), "").Rule(DefaultRule::kFirstInputFormat),
    Keyword("Input", "DDS Load As", M(dds_load_as), 0, 0).Format("dds").Option("--dds-load-as"),
    Keyword("Input", "GIF Frame Loading", M(gif_frame_loading), 2, 0)
        .Format("gif")
        .Option("--gif-frame-loading"),
    Keyword("Input", "ICO Frame Loading", M(ico_frame_loading), 2, 0)
        .Format("ico")
        .Option("--ico-frame-loading"),
    Keyword("Input", "TIFF Frame Loading", M(tiff_frame_loading), 2, 0)
        .Format("tiff")
        .Option("--tiff-frame-loading"),
    Keyword("Input", "RAW Load As", M(raw_load_as), 1, 0).Format("raw").Option("--raw-load-as"),
    Number("Input", "RAW Header Size", M(raw_header_size), 0)
        .Format("raw")
        .Option("--raw-header-size"),
    Number("Input", "RAW Image Width", M(raw_image_width), 0).Format("raw").Option("--raw-width"),
    Number("Input", "RAW Image Height", M(raw_image_height), 0)
        .Format("raw")
        .Option("--raw-height"),
    Keyword("Input", "RAW Tone Mapping", M(raw_tone_mapping), 3, 2)
        .Format("raw")
        .Option("--raw-tone-mapping"),
    // Output
    Text("Output", "Format", M(output_format), "").Rule(DefaultRule::kFirstOutputFormat),
    Number("Output", "BMP BPP", M(bmp_bpp), 0).Format("bmp").Option("--bmp-bpp"),
    Keyword("Output", "BMP Compression", M(bmp_compression), 4, 0)
        .Format("bmp")
        .Option("--bmp-compression"),
    Keyword("Output", "BMP Color Table", M(bmp_color_table), 5, 0)
        .Format("bmp")
        .Option("--bmp-color-table"),
    Number("Output", "DDS BPP", M(dds_bpp), 0).Format("dds").Option("--dds-bpp"),
    Number("Output", "EXR BPP", M(exr_bpp), 0).Format("exr").Option("--exr-bpp"),
    Keyword("Output", "EXR Compression", M(exr_compression), 4, 0)
        .Format("exr")
        .Option("--exr-compression"),
    Number("Output", "GIF BPP", M(gif_bpp), 0).Format("gif").Option("--gif-bpp"),
    Number("Output", "HDR BPP", M(hdr_bpp), 0).Format("hdr").Option("--hdr-bpp"),
    Number("Output", "ICO BPP", M(ico_bpp), 0).Format("ico").Option("--ico-bpp"),
    Number("Output", "J2K BPP", M(j2k_bpp), 0).Format("j2k").Option("--j2k-bpp"),
    Number("Output", "JNG BPP", M(jng_bpp), 0).Format("jng").Option("--jng-bpp"),
    Number("Output", "JP2 BPP", M(jp2_bpp), 0).Format("jp2").Option("--jp2-bpp"),
    Number("Output", "JPG BPP", M(jpg_bpp), 0).Format("jpg").Option("--jpg-bpp"),
    Number("Output", "JPG Quality", M(jpg_quality), 95).Format("jpg").Option("--jpg-quality"),
    Keyword("Output", "JPG Chroma", M(jpg_chroma), 7, 0).Format("jpg").Option("--jpg-chroma"),
    Keyword("Output", "JPG Save As", M(jpg_save_as), 8, 0).Format("jpg").Option("--jpg-save-as"),
    Number("Output", "JXR BPP", M(jxr_bpp), 0).Format("jxr").Option("--jxr-bpp"),
    Number("Output", "PBM BPP", M(pbm_bpp), 0).Format("pbm").Option("--pbm-bpp"),
    Number("Output", "PCX BPP", M(pcx_bpp), 0).Format("pcx").Option("--pcx-bpp"),
    Number("Output", "PFM BPP", M(pfm_bpp), 0).Format("pfm").Option("--pfm-bpp"),
    Number("Output", "PGM BPP", M(pgm_bpp), 0).Format("pgm").Option("--pgm-bpp"),
    Number("Output", "PNG BPP", M(png_bpp), 0).Format("png").Option("--png-bpp"),
    Keyword("Output", "PNG Compression", M(png_compression), 4, 0)
        .Format("png")
        .Option("--png-compression"),
    Flag("Output", "PNG Interlaced", M(png_interlaced), 0)
        .Format("png")
        .FlagOption("--png-interlaced", 1),
    Number("Output", "PPM BPP", M(ppm_bpp), 0).Format("ppm").Option("--ppm-bpp"),
    Number("Output", "PSD BPP", M(psd_bpp), 0).Format("psd").Option("--psd-bpp"),
    Number("Output", "TGA BPP", M(tga_bpp), 0).Format("tga").Option("--tga-bpp"),
    Keyword("Output", "TGA Compression", M(tga_compression), 4, 0)
        .Format("tga")
        .Option("--tga-compression"),
    Number("Output", "TIFF BPP", M(tiff_bpp), 0).Format("tiff").Option("--tiff-bpp"),
    Keyword("Output", "TIFF Compression", M(tiff_compression), 4, 0)
        .Format("tiff")
        .Option("--tiff-compression"),
    Keyword("Output", "TIFF Color Model", M(tiff_color_model), 6, 0)
        .Format("tiff")
        .Option("--tiff-color-model"),
    Number("Output", "WBMP BPP", M(wbmp_bpp), 0).Format("wbmp").Option("--wbmp-bpp"),
    Number("Output", "WEBP BPP", M(webp_bpp), 0).Format("webp").Option("--webp-bpp"),
    Number("Output", "XPM BPP", M(xpm_bpp), 0).Format("xpm").Option("--xpm-bpp"),
    // Transform
    Flag("Transform", "Do Image Rotation", M(do_image_rotation), 0),
    Keyword("Transform", "Image Rotation Type", M(image_rotation_type), 9, 0)
        .Option("--rotation-type"),
    Number("Transform", "Image Rotation", M(transform_image_rotation), 0)
        .Option("--rotation")
        .Also(&S::do_image_rotation, 1),
    Colour("Transform", "Image Rotation Back Color", M(image_rotation_back_color), "000000")
        .Option("--rotation-back-color"),
    Flag("Transform", "Do Image Resize", M(do_image_resize), 0),
    Number("Transform", "Image Width", M(image_width), 0)
        .Option("--width")
        .Also(&S::do_image_resize, 1),
    Keyword("Transform", "Image Width Unit", M(image_width_unit), 10, 0).Option("--width-unit"),
    Number("Transform", "Image Height", M(image_height), 0)
        .Option("--height")
        .Also(&S::do_image_resize, 1),
    Keyword("Transform", "Image Height Unit", M(image_height_unit), 10, 0).Option("--height-unit"),
    Flag("Transform", "Keep Aspect Ratio", M(keep_aspect_ratio), 1)
        .ConsoleDefault(0)
        .Missing(1)
        .FlagOption("--keep-aspect-ratio", 1),
    Keyword("Transform", "Image Resize Type", M(image_resize_type), 11, 0).Option("--resize-type"),
    Keyword("Transform", "Image Resize Algorithm", M(image_resize_algorithm), 12, 3)
        .Option("--resize-algorithm"),
    Flag("Transform", "Do Image Flip Horizontal", M(do_image_flip_horizontal), 0)
        .FlagOption("--flip-horizontal", 1),
    Flag("Transform", "Do Image Flip Vertical", M(do_image_flip_vertical), 0)
        .FlagOption("--flip-vertical", 1),
    // Adjustment
    Flag("Adjustment", "Do Image Color Correction", M(do_image_color_correction), 0),
    Number("Adjustment", "Image Brightness", M(image_brightness), 0)
        .Option("--brightness")
        .Also(&S::do_image_color_correction, 1),
    Number("Adjustment", "Image Contrast", M(image_contrast), 0)
        .Option("--contrast")
        .Also(&S::do_image_color_correction, 1),
    Number("Adjustment", "Image Gamma", M(image_gamma), 1.0)
        .Option("--gamma")
        .Also(&S::do_image_color_correction, 1),
    Flag("Adjustment", "Image Invert", M(image_invert), 0)
        .FlagOption("--invert", 1)
        .Also(&S::do_image_color_correction, 1),
    Flag("Adjustment", "Do Image Greyscale", M(do_image_greyscale), 0).FlagOption("--greyscale", 1),
    Flag("Adjustment", "Do Image Threshold", M(do_image_threshold), 0),
    Number("Adjustment", "Image Threshold", M(image_threshold), 0)
        .Option("--threshold")
        .Also(&S::do_image_threshold, 1),
    // Frame
    Keyword("Frame", "Do Frame", M(do_frame), 13, 0),
    Number("Frame", "Solid Left", M(solid_left), 0).Option("--fr-solid-left").Also(&S::do_frame, 1),
    Number("Frame", "Solid Right", M(solid_right), 0)
        .Option("--fr-solid-right")
        .Also(&S::do_frame, 1),
    Number("Frame", "Solid Top", M(solid_top), 0).Option("--fr-solid-top").Also(&S::do_frame, 1),
    Number("Frame", "Solid Bottom", M(solid_bottom), 0)
        .Option("--fr-solid-bottom")
        .Also(&S::do_frame, 1),
    Colour("Frame", "Solid Left Color", M(solid_left_color), "000000")
        .Option("--fr-solid-left-color"),
    Colour("Frame", "Solid Right Color", M(solid_right_color), "000000")
        .Option("--fr-solid-right-color"),
    Colour("Frame", "Solid Top Color", M(solid_top_color), "000000").Option("--fr-solid-top-color"),
    Colour("Frame", "Solid Bottom Color", M(solid_bottom_color), "000000")
        .Option("--fr-solid-bottom-color"),
    Number("Frame", "Solid Opacity", M(solid_opacity), 255)
        .Option("--fr-solid-opacity")
        .ProfileName("--wm-solid-opacity"),
    // Watermark
    Keyword("Watermark", "Do Watermark", M(do_watermark), 14, 0),
    Text("Watermark", "Text", M(text), "Converted with Quillmere")
        .Option("--wm-text")
        .Also(&S::do_watermark, 1),
    Text("Watermark", "Fonts", M(fonts), "Arial,Tahoma,Verdana"),
    Text("Watermark", "Font", M(font), "Arial").Option("--wm-font"),
    Number("Watermark", "Font Size", M(font_size), 14).Option("--wm-font-size"),
    Number("Watermark", "Font Leading", M(font_leading), 0).Option("--wm-font-leading"),
    Text("Watermark", "Font Colors", M(font_colors), kColourChoices),
    Colour("Watermark", "Font Color", M(font_color), "FFFFFF").Option("--wm-font-color"),
    Keyword("Watermark", "Font Style", M(font_style), 15, 0).Option("--wm-font-style"),
    Keyword("Watermark", "Font Effect", M(font_effect), 16, 0).Option("--wm-font-effect"),
    Flag("Watermark", "Text Antialiasing", M(text_antialiasing), 0)
        .FlagOption("--wm-text-antialiasing", 1),
    Keyword("Watermark", "Text Alignment", M(text_alignment), 17, 0).Option("--wm-text-alignment"),
    Number("Watermark", "Text Padding", M(text_padding), 0).Option("--wm-text-padding"),
    Number("Watermark", "Text Opacity", M(text_opacity), 255).Option("--wm-text-opacity"),
    Text("Watermark", "Back Colors", M(back_colors), kColourChoices),
    Colour("Watermark", "Back Color", M(back_color), "000000").Option("--wm-back-color"),
    Number("Watermark", "Back Opacity", M(back_opacity), 1).Option("--wm-back-opacity"),
    Keyword("Watermark", "Text Boundary", M(text_boundary), 18, 0).Option("--wm-text-boundary"),
    Keyword("Watermark", "Text Position", M(text_position), 19, 8).Option("--wm-text-position"),
    Number("Watermark", "Text X Offset", M(text_x_offset), 10).Option("--wm-text-x-offset"),
    Number("Watermark", "Text Y Offset", M(text_y_offset), 10).Option("--wm-text-y-offset"),
    Number("Watermark", "Text Rotation", M(text_rotation), 0).Option("--wm-text-rotation"),
    Keyword("Watermark", "Text Size", M(text_size), 20, 0).Option("--wm-text-size"),
    Number("Watermark", "Text Scale", M(text_scale), 10),
    Text("Watermark", "Image", M(image), "").Option("--wm-image").Also(&S::do_watermark, 2),
    Flag("Watermark", "Image Greyscale", M(image_greyscale), 0)
        .FlagOption("--wm-image-greyscale", 1),
    Number("Watermark", "Image Opacity", M(image_opacity), 255).Option("--wm-image-opacity"),
    Keyword("Watermark", "Image Boundary", M(image_boundary), 18, 0).Option("--wm-image-boundary"),
    Keyword("Watermark", "Image Position", M(image_position), 19, 8).Option("--wm-image-position"),
    Number("Watermark", "Image X Offset", M(image_x_offset), 10).Option("--wm-image-x-offset"),
    Number("Watermark", "Image Y Offset", M(image_y_offset), 10).Option("--wm-image-y-offset"),
    Number("Watermark", "Image Rotation", M(watermark_image_rotation), 0)
        .Option("--wm-image-rotation"),
    Keyword("Watermark", "Image Size", M(image_size), 20, 0).Option("--wm-image-size"),
    Number("Watermark", "Image Scale", M(image_scale), 10),
    // Advanced
    Text("Advanced", "Filename Mask", M(filename_mask), "%filename%.%ext%")
        .Option("--filename-mask"),
    Keyword("Advanced", "File Timestamp", M(file_timestamp), 21, 0).Option("--file-timestamp"),
    Date("Advanced", "Custom Timestamp", M(custom_timestamp)).Option("--file-timestamp-custom"),
    Flag("Advanced", "Out Folders History", M(out_folders_history), 1),
    Number("Advanced", "Out Folders Number", M(out_folders_number), 5),
    Flag("Advanced", "Keep Subfolders", M(keep_subfolders), 1).FlagOption("--no-subfolders", 0),
    // File
    Text("File", "Recent Out Folders", M(recent_out_folders), ""),
    Text("File", "Recent Files", M(recent_files), ""),
    // Privacy
    Flag("Privacy", "Clean Recent Files", M(clean_recent_files), 0),
};

#undef M

constexpr std::array<SettingInfo, std::size(kRows)> MakeTable() {
  std::array<SettingInfo, std::size(kRows)> table{};
  for (size_t i = 0; i < table.size(); ++i) table[i] = kRows[i].info;
  return table;
}

constexpr std::array<SettingInfo, std::size(kRows)> kTable = MakeTable();

constexpr std::string_view kGroups[] = {"General",   "Window",    "Interface",  "Input",
                                        "Output",    "Transform", "Adjustment", "Frame",
                                        "Watermark", "Advanced",  "File",       "Privacy"};

}  // namespace

std::span<const SettingInfo> SettingsTable() { return kTable; }

std::span<const std::string_view> SettingGroups() { return kGroups; }

}  // namespace quill
