// The image library's own path from PNG to JPEG, with nothing of the converter around it: load,
// bring to a depth the JPEG writer takes, save at quality 95 without chroma subsampling. The
// benchmark compares the converter with this to see what its own pipeline costs.
#include <FreeImage.h>

#include <cstdio>

#include "bench_args.h"

namespace {

constexpr int kJpegFlags = 95 | JPEG_SUBSAMPLING_444;

// True for images that are written as 8-bit greyscale: grey bitmaps of any depth up to 8 bits
// and one-channel 16-bit images. Everything else is written as 24-bit colour.
bool IsGrey(FIBITMAP* image) {
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(image);
  if (type == FIT_UINT16) return true;
  return type == FIT_BITMAP && FreeImage_GetBPP(image) <= 8 &&
         FreeImage_GetColorType(image) == FIC_MINISBLACK;
}

bool Convert(const std::string& input, const std::string& output) {
  FIBITMAP* image = FreeImage_Load(FIF_PNG, input.c_str(), PNG_DEFAULT);
  if (image == nullptr) return false;
  const bool grey = IsGrey(image);
  const unsigned wanted_bpp = grey ? 8 : 24;
  if (FreeImage_GetImageType(image) != FIT_BITMAP || FreeImage_GetBPP(image) != wanted_bpp) {
    FIBITMAP* converted = grey ? FreeImage_ConvertTo8Bits(image) : FreeImage_ConvertTo24Bits(image);
    FreeImage_Unload(image);
    image = converted;
    if (image == nullptr) return false;
  }
  const bool saved = FreeImage_Save(FIF_JPEG, image, output.c_str(), kJpegFlags) != FALSE;
  FreeImage_Unload(image);
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  bench::Job job;
  if (!bench::ParseArguments(argc, argv, job)) return 1;
  FreeImage_Initialise(FALSE);
  int failed = 0;
  for (const std::string& input : job.inputs) {
    if (!Convert(input, bench::OutputPath(job, input))) {
      std::fprintf(stderr, "bench_freeimage: failed: %s\n", input.c_str());
      ++failed;
    }
  }
  FreeImage_DeInitialise();
  return failed == 0 ? 0 : 2;
}
