// The whole pipeline on arbitrary bytes as a PNG file, with the image steps switched on and set
// by the fuzzer's first bytes.
#include <FreeImage.h>

#include <filesystem>

#include "engine/convert_image.h"
#include "engine/image_library.h"
#include "engine/png_check.h"
#include "engine/save_flags.h"
#include "engine/watermark_font.h"
#include "fuzz/fuzz_input.h"
#include "settings/job_state.h"
#include "settings/settings.h"

namespace {

const char* const kColours[] = {"000000", "FFFFFF", "FF0000", "12ab9Z", "", "00FF00C"};

std::string Colour(quill::fuzz::Input& input) { return kColours[input.Byte() % 6]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  InitialiseImageLibrary();
  static const FormatRegistry formats;
  static const std::string picture = [] {
    const std::string path = fuzz::PrivateFolder() + "/mark.png";
    FIBITMAP* mark = FreeImage_Allocate(20, 10, 32);
    FreeImage_Save(FIF_PNG, mark, path.c_str(), 0);
    FreeImage_Unload(mark);
    std::filesystem::create_directories(fuzz::PrivateFolder() + "/out");
    return path;
  }();
  static Settings font_settings = [] {
    Settings s;
    ResetSettings(s, DefaultsFlavour::kConsole);
    return s;
  }();
  static const ScopedWatermarkFont font(font_settings);

  fuzz::Input input(data, size);
  Settings s;
  ResetSettings(s, DefaultsFlavour::kConsole);
  s.do_image_rotation = input.Byte() & 1;
  s.transform_image_rotation = input.Int(-10, 370);
  s.image_rotation_type = static_cast<int8_t>(input.Byte() % 3);
  s.image_rotation_back_color = Colour(input);
  s.do_image_resize = input.Byte() & 1;
  s.image_width = input.Int(-2, 300);
  s.image_height = input.Int(-2, 300);
  s.image_width_unit = static_cast<int8_t>(input.Byte() % 3);
  s.image_height_unit = static_cast<int8_t>(input.Byte() % 3);
  s.keep_aspect_ratio = input.Byte() & 1;
  s.image_resize_type = input.Byte() & 1;
  s.image_resize_algorithm = static_cast<int8_t>(input.Byte() % 7);
  s.do_image_flip_horizontal = input.Byte() & 1;
  s.do_image_flip_vertical = input.Byte() & 1;
  s.do_image_color_correction = input.Byte() & 1;
  s.image_brightness = input.Int(-100, 100);
  s.image_contrast = input.Int(-100, 100);
  s.image_gamma = static_cast<float>(input.Int(1, 999)) / 100.0f;
  s.image_invert = input.Byte() & 1;
  s.do_image_greyscale = input.Byte() & 1;
  s.do_image_threshold = input.Byte() & 1;
  s.image_threshold = input.Int(0, 300);
  s.do_frame = static_cast<int8_t>(input.Byte() % 3);
  s.solid_left = input.Int(-2, 40);
  s.solid_right = input.Int(-2, 40);
  s.solid_top = input.Int(-2, 40);
  s.solid_bottom = input.Int(-2, 40);
  s.solid_left_color = Colour(input);
  s.solid_opacity = input.Int(0, 255);
  s.do_watermark = static_cast<int8_t>(input.Byte() % 3);
  s.text = input.Byte() & 1 ? "Photo%eol%%filename% %width%" : "%EOL%";
  s.text_antialiasing = input.Byte() & 1;
  s.text_alignment = static_cast<int8_t>(input.Byte() % 4);
  s.text_padding = input.Int(-5, 20);
  s.font_leading = input.Int(-30, 30);
  s.text_opacity = input.Int(0, 255);
  s.back_opacity = input.Int(0, 255);
  s.text_boundary = s.image_boundary = input.Byte() & 1;
  s.text_position = s.image_position = static_cast<int8_t>(input.Byte() % 10);
  s.text_x_offset = s.image_x_offset = input.Int(-50, 300);
  s.text_y_offset = s.image_y_offset = input.Int(-50, 300);
  s.text_rotation = s.watermark_image_rotation = input.Int(-10, 370);
  s.image = picture;
  s.image_opacity = input.Int(0, 255);
  s.image_greyscale = input.Byte() & 1;

  const std::string_view png = input.Rest();
  // The limits allow images far larger than a fuzzer can afford on every input; such headers
  // are left to the tests.
  const PngCheck check = CheckPng(png, 0);
  if (uint64_t{check.width} * check.height > (uint64_t{1} << 22)) return 0;

  JobState job;
  job.current_input_path = fuzz::WriteTemporary("input.png", png);
  job.output_folder = fuzz::PrivateFolder() + "/out/";
  job.conversion_type = "jpg";
  job.output_library_format = FIF_JPEG;
  job.automatic_depth = 1;
  job.output_save_flags = SaveFlags("jpg", s);
  ConvertImageWithResult(s, formats, job);
  return 0;
}
