// Starting a new job.
#include "settings/job_state.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/paths.h"

namespace quill {
namespace {

TEST(JobStateTest, ResetClearsTheJobAndKeepsTheLastingFields) {
  JobState job;
  job.current_input_path = "/in/a.png";
  job.input_base_folder = "/in/";
  job.current_relative_folder = "sub/";
  job.current_output_path = "/out/a.jpg";
  job.output_folder = "/out/";
  job.counter = 7;
  job.job_input_format = "png";
  job.source_bit_depth = 24;
  job.output_library_format = 2;
  job.conversion_type = "jpg";
  job.output_bit_depth = 24;
  job.output_save_flags = 95;
  job.automatic_depth = 1;
  job.theme_reload_request = 2;
  job.console_flag = 1;
  job.preferences_start_section = 4;
  job.run_mode = "DEBUG";
  job.image_width = 640;
  job.image_height = 480;
  job.custom_converter_choice_1 = "png";
  job.custom_converter_choice_2 = "jpg";

  ResetJobState(job);

  const JobState fresh;
  EXPECT_EQ(job.program_folder, platform::ProgramFolder());
  EXPECT_EQ(job.program_folder.back(), platform::kPathSeparator);
  EXPECT_EQ(job.current_input_path, "");
  EXPECT_EQ(job.input_base_folder, "");
  EXPECT_EQ(job.current_relative_folder, "");
  EXPECT_EQ(job.current_output_path, "");
  EXPECT_EQ(job.output_folder, "");
  EXPECT_EQ(job.counter, 1);
  EXPECT_EQ(job.job_input_format, "");
  EXPECT_EQ(job.source_bit_depth, 0);
  EXPECT_EQ(job.output_library_format, 0);
  EXPECT_EQ(job.conversion_type, "");
  EXPECT_EQ(job.output_bit_depth, 0);
  EXPECT_EQ(job.output_save_flags, 0);
  EXPECT_EQ(job.automatic_depth, 0);
  EXPECT_EQ(job.theme_reload_request, 0);
  EXPECT_EQ(job.console_flag, 0);
  EXPECT_EQ(job.preferences_start_section, 0);
  // Not part of the job.
  EXPECT_EQ(job.run_mode, "DEBUG");
  EXPECT_EQ(job.image_width, 640);
  EXPECT_EQ(job.image_height, 480);
  EXPECT_EQ(job.custom_converter_choice_1, "png");
  EXPECT_EQ(job.custom_converter_choice_2, "jpg");
}

TEST(JobStateTest, EveryResetDrawsANumberFrom1To99999) {
  JobState job;
  std::set<int32_t> numbers;
  for (int i = 0; i < 200; ++i) {
    ResetJobState(job);
    EXPECT_GE(job.random_number, 1);
    EXPECT_LE(job.random_number, 99999);
    numbers.insert(job.random_number);
  }
  // 200 draws from 99999 values are all equal only if the number is not drawn at all.
  EXPECT_GT(numbers.size(), 100u);
}

}  // namespace
}  // namespace quill
