// The state of the current job that is not kept between runs: paths of the job, the output
// format data of the run, the filename-mask counters and a few front-end requests.
#pragma once

#include <cstdint>
#include <string>

namespace quill {

struct JobState {
  // Reset with every new job.
  std::string program_folder;            // folder of the program file, ending in the separator
  std::string current_input_path;        // the -i file; while converting, the file in work
  std::string input_base_folder;         // the -i text until classified; then the folder whose
                                         // subfolders the output mirrors
  std::string current_relative_folder;   // subfolder of the file in work below the base folder
  std::string current_output_path;       // the file being written
  std::string output_folder;             // receives the output files
  int32_t random_number = 1;             // 1 to 99999, a filename mask placeholder
  int32_t counter = 1;                   // running number, a filename mask placeholder
  std::string job_input_format;          // input format whose load options the report shows
  int32_t source_bit_depth = 0;          // bit depth of the image being converted
  int32_t output_library_format = 0;     // the image library's number of the output format
  std::string conversion_type;           // output extension of the job
  int32_t output_bit_depth = 0;          // the output format's BPP setting for the job
  int32_t output_save_flags = 0;         // the library's save flags for the job
  int8_t automatic_depth = 0;            // 1 when output_bit_depth is 0
  int32_t theme_reload_request = 0;      // 0 none, 1 everything, 2 the toolbar images only
  int8_t console_flag = 0;               // 1 when the console mode runs a conversion (-i)
  int8_t preferences_start_section = 0;  // section the preferences dialog opens with
  int32_t worker_count = 0;              // files converted at once: 0 one per processor

  // Not touched by a reset.
  std::string run_mode;     // "DEBUG" with the console option -d, else empty
  int32_t image_width = 0;  // size of the image being converted, for the filename mask
  int32_t image_height = 0;
  std::string custom_converter_choice_1;  // the two choices of the custom converter dialog
  std::string custom_converter_choice_2;
};

// Makes the random numbers that follow repeat from `seed`: the same seed, the same numbers in the
// same order, whichever thread draws them. For tests of the output names.
void SeedRandomNumbers(uint32_t seed);

// A random number for the filename mask: 1 to 99999.
int32_t DrawRandomNumber();

// Starts a new job: every field above the "not touched" line takes its reset value, the program
// folder is looked up and a fresh random number is drawn. The input list is not part of this
// record: the caller empties it and rebuilds its offered extensions as well.
void ResetJobState(JobState& job);

}  // namespace quill
