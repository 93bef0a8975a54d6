// The floor of the benchmark: the least work that turns a PNG into a JPEG of the same settings
// as the converter's. libpng decodes straight into libjpeg-turbo one row at a time, with no
// image in between (interlaced files, whose rows only come out whole after the last pass, are
// the exception and are read whole). The decoder reduces every file to 8-bit grey or 8-bit RGB:
// 16-bit samples are cut to 8 bits, palettes expanded, low-bit grey widened, alpha dropped.
// The encoder is set as the image library's JPEG writer sets itself for quality 95 without chroma
// subsampling: library defaults (integer DCT, standard Huffman tables, not optimised), quality
// 95 limited to baseline tables, every component sampled 1x1, the resolution in dots per inch.
// For an 8-bit RGB file the output is then byte for byte the image library's.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

// After the standard headers: jpeglib.h uses size_t and FILE without including their headers.
#include <jpeglib.h>
#include <png.h>

#include "bench_args.h"

namespace {

constexpr int kQuality = 95;
constexpr png_uint_32 kDefaultDotsPerMetre = 2835;  // 72 dots per inch

// libjpeg's error manager with a way back out of a failed file instead of exit().
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr info) {
  (*info->err->output_message)(info);
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Everything a conversion holds open, released on every way out of Convert.
struct Conversion {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  png_structp png = nullptr;
  png_infop png_info = nullptr;
  jpeg_compress_struct jpeg{};
  JpegError jpeg_error{};
  bool jpeg_created = false;
  std::vector<png_byte> pixels;  // one row, or the whole image when interlaced
  std::vector<png_bytep> rows;   // the rows of `pixels` when interlaced

  ~Conversion() {
    if (jpeg_created) jpeg_destroy_compress(&jpeg);
    if (png != nullptr) png_destroy_read_struct(&png, &png_info, nullptr);
    if (out != nullptr) std::fclose(out);
    if (in != nullptr) std::fclose(in);
  }
};

// Reads the header and sets up the decoder's reductions. Returns the number of interlace passes.
int SetUpDecoder(png_structp png, png_infop info) {
  png_read_info(png, info);
  const int bit_depth = png_get_bit_depth(png, info);
  const int color_type = png_get_color_type(png, info);
  if (bit_depth == 16) png_set_strip_16(png);
  if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (color_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  // A palette's transparency becomes an alpha channel when the palette is expanded.
  if ((color_type & PNG_COLOR_MASK_ALPHA) != 0 ||
      (color_type == PNG_COLOR_TYPE_PALETTE && png_get_valid(png, info, PNG_INFO_tRNS) != 0)) {
    png_set_strip_alpha(png);
  }
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return passes;
}

// The body of Convert, apart so that nothing with a destructor lives in a frame that longjmp
// leaves.
bool Run(Conversion& c) {
  if (setjmp(png_jmpbuf(c.png)) != 0) return false;
  c.jpeg.err = jpeg_std_error(&c.jpeg_error.manager);
  c.jpeg_error.manager.error_exit = JpegErrorExit;
  if (setjmp(c.jpeg_error.jump) != 0) return false;
  jpeg_create_compress(&c.jpeg);
  c.jpeg_created = true;

  png_init_io(c.png, c.in);
  const int passes = SetUpDecoder(c.png, c.png_info);
  const png_uint_32 width = png_get_image_width(c.png, c.png_info);
  const png_uint_32 height = png_get_image_height(c.png, c.png_info);
  const int channels = png_get_channels(c.png, c.png_info);
  const size_t row_bytes = png_get_rowbytes(c.png, c.png_info);

  jpeg_stdio_dest(&c.jpeg, c.out);
  c.jpeg.image_width = width;
  c.jpeg.image_height = height;
  c.jpeg.input_components = channels;
  c.jpeg.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c.jpeg);
  for (int i = 0; i < c.jpeg.num_components; ++i) {
    c.jpeg.comp_info[i].h_samp_factor = 1;
    c.jpeg.comp_info[i].v_samp_factor = 1;
  }
  jpeg_set_quality(&c.jpeg, kQuality, TRUE);
  // The image library's writer gives the resolution in dots per inch, 72 unless the file says.
  png_uint_32 x_per_metre = 0;
  png_uint_32 y_per_metre = 0;
  int unit = PNG_RESOLUTION_UNKNOWN;
  if (png_get_pHYs(c.png, c.png_info, &x_per_metre, &y_per_metre, &unit) == 0 ||
      unit != PNG_RESOLUTION_METER) {
    x_per_metre = y_per_metre = kDefaultDotsPerMetre;
  }
  c.jpeg.density_unit = 1;
  c.jpeg.X_density = static_cast<UINT16>(0.5 + 0.0254 * x_per_metre);
  c.jpeg.Y_density = static_cast<UINT16>(0.5 + 0.0254 * y_per_metre);
  jpeg_start_compress(&c.jpeg, TRUE);

  if (passes == 1) {
    c.pixels.resize(row_bytes);
    JSAMPROW row = c.pixels.data();
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(c.png, row, nullptr);
      jpeg_write_scanlines(&c.jpeg, &row, 1);
    }
  } else {
    c.pixels.resize(row_bytes * height);
    c.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) c.rows[y] = c.pixels.data() + row_bytes * y;
    png_read_image(c.png, c.rows.data());
    for (png_uint_32 y = 0; y < height; ++y) jpeg_write_scanlines(&c.jpeg, &c.rows[y], 1);
  }
  png_read_end(c.png, nullptr);
  jpeg_finish_compress(&c.jpeg);
  return true;
}

bool Convert(const std::string& input, const std::string& output) {
  Conversion c;
  c.in = std::fopen(input.c_str(), "rb");
  if (c.in == nullptr) return false;
  c.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (c.png == nullptr) return false;
  c.png_info = png_create_info_struct(c.png);
  if (c.png_info == nullptr) return false;
  c.out = std::fopen(output.c_str(), "wb");
  if (c.out == nullptr) return false;
  if (!Run(c)) return false;
  const bool written = std::fclose(c.out) == 0;
  c.out = nullptr;
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  bench::Job job;
  if (!bench::ParseArguments(argc, argv, job)) return 1;
  int failed = 0;
  for (const std::string& input : job.inputs) {
    if (!Convert(input, bench::OutputPath(job, input))) {
      std::fprintf(stderr, "bench_floor: failed: %s\n", input.c_str());
      ++failed;
    }
  }
  return failed == 0 ? 0 : 2;
}
