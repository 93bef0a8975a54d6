// The image pipeline, step by step. Each step takes the image and returns the one to go on with;
// a step that fails returns no image, which the later steps pass on and the save refuses.
#include "engine/convert_image.h"

#include <optional>
#include <string>
#include <utility>

#include "engine/adjust_colors.h"
#include "engine/depth.h"
#include "engine/flip.h"
#include "engine/frame.h"
#include "engine/greyscale.h"
#include "engine/high_dynamic_range.h"
#include "engine/image.h"
#include "engine/image_library.h"
#include "engine/load_image.h"
#include "engine/output_name.h"
#include "engine/resize.h"
#include "engine/rotate.h"
#include "engine/save_image.h"
#include "engine/threshold.h"
#include "engine/transparency.h"
#include "engine/watermark.h"
#include "platform/files.h"

namespace quill {

PreparedImage PrepareImage(const Settings& settings, const FormatRegistry& formats, JobState job,
                           DrawingCache* drawings) {
  InitialiseImageLibrary();
  PreparedImage prepared;

  // Load as PNG, whatever the extension; a file that does not decode has no size.
  LoadedImage loaded = LoadCheckedPng(job.current_input_path);
  Image image = std::move(loaded.image);
  prepared.refusal = std::move(loaded.refusal);
  job.source_bit_depth = image.bpp();
  prepared.source_bit_depth = job.source_bit_depth;
  if (image.width() == 0 || image.height() == 0) return prepared;

  // Automatic depth follows the file as loaded.
  if (job.automatic_depth != 0) {
    job.output_bit_depth = AutomaticDepth(formats, job.conversion_type,
                                          AutomaticSourceDepth(image, job.conversion_type));
  }

  // 16-bit greyscale becomes 8-bit greyscale, which every later step can take.
  image = NarrowGreySamples(std::move(image));

  image = Rotate(std::move(image), settings);
  const int32_t rotated_width = image.width();
  const int32_t rotated_height = image.height();
  image = Resize(std::move(image), settings, rotated_width, rotated_height);
  job.image_width = image.width();
  job.image_height = image.height();

  image = ReduceHighDynamicRange(std::move(image));
  image = FlattenTransparency(std::move(image));
  image = Flip(std::move(image), settings);
  image = AdjustColors(std::move(image), settings);
  image = Greyscale(std::move(image), settings);
  image = Threshold(std::move(image), settings);
  image = Frame(std::move(image), settings, job.image_width, job.image_height, drawings);
  image = Watermark(std::move(image), settings, job, drawings);
  image = ConvertToDepth(std::move(image), job.conversion_type, job.output_bit_depth);

  prepared.output_bit_depth = job.output_bit_depth;
  prepared.image_width = job.image_width;
  prepared.image_height = job.image_height;
  // The pixels are not needed once encoded; they go before the next file's arrive.
  prepared.encoded = EncodeImage(image, job.output_library_format, job.output_save_flags);
  image.Reset();
  prepared.result = prepared.encoded ? ConvertResult::kConverted : ConvertResult::kNotSaved;
  return prepared;
}

ConvertResult CommitImage(const Settings& settings, JobState& job, const PreparedImage& prepared) {
  // A path left from the previous file would be reported as this file's.
  job.current_output_path.clear();
  job.source_bit_depth = prepared.source_bit_depth;
  if (prepared.result == ConvertResult::kNotLoaded) return ConvertResult::kNotLoaded;
  job.output_bit_depth = prepared.output_bit_depth;
  job.image_width = prepared.image_width;
  job.image_height = prepared.image_height;

  job.current_output_path = OutputPath(settings, job);
  if (job.current_output_path.empty()) return ConvertResult::kNoOutputPath;
  // Never write over the file being converted.
  if (IsSameFile(job.current_input_path, job.current_output_path)) {
    return ConvertResult::kOutputIsInput;
  }
  if (prepared.result != ConvertResult::kConverted ||
      !platform::WriteFileReplacing(job.current_output_path, prepared.encoded.bytes())) {
    return ConvertResult::kNotSaved;
  }
  return ConvertResult::kConverted;
}

ConvertResult ConvertImageWithResult(const Settings& settings, const FormatRegistry& formats,
                                     JobState& job) {
  return CommitImage(settings, job, PrepareImage(settings, formats, job));
}

bool ConvertImage(const Settings& settings, const FormatRegistry& formats, JobState& job) {
  return ConvertImageWithResult(settings, formats, job) == ConvertResult::kConverted;
}

}  // namespace quill
