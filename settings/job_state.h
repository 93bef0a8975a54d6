// The state of the current job that is not kept between runs.
#pragma once

#include <cstdint>
#include <string>

namespace quill {

struct JobState {
  std::string program_folder;        // folder of the program file, ending in "/"
  std::string current_input_path;    // the -i file; while converting, the file in work
  std::string input_base_folder;     // the -i text until classified; the folder mirrored below
                                     // the output folder
  std::string current_relative_folder;
  std::string current_output_path;
  std::string output_folder;
  int32_t random_number = 1;         // 1 to 99999, for the filename mask
  int32_t counter = 1;
  std::string job_input_format;
  int32_t source_bit_depth = 0;
  int32_t output_library_format = 0;
  std::string conversion_type;
  int32_t output_bit_depth = 0;
  int32_t output_save_flags = 0;
  int8_t automatic_depth = 0;
  int32_t theme_reload_request = 0;
  int8_t console_flag = 0;
  // The fields below are not reset with the job.
  std::string run_mode;              // "DEBUG" with the console option -d
  int32_t image_width = 0;
  int32_t image_height = 0;
  std::string custom_converter_choice_1;
  std::string custom_converter_choice_2;
  int8_t preferences_start_section = 0;
};

// A random number for the filename mask: 1 to 99999.
int32_t DrawRandomNumber();

// Starts a new job: every field that a reset covers takes its reset value, with a fresh random
// number. The caller also empties the input list and renews its accepted extensions.
void ResetJobState(JobState& job);

}  // namespace quill
