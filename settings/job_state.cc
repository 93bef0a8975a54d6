// Resetting the job state.
#include "settings/job_state.h"

#include <mutex>
#include <random>
#include <utility>

#include "platform/paths.h"

namespace quill {

namespace {

std::mutex random_lock;

std::mt19937& RandomGenerator() {
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}

}  // namespace

void SeedRandomNumbers(uint32_t seed) {
  const std::lock_guard<std::mutex> guard(random_lock);
  RandomGenerator().seed(seed);
}

int32_t DrawRandomNumber() {
  const std::lock_guard<std::mutex> guard(random_lock);
  return std::uniform_int_distribution<int32_t>(1, 99999)(RandomGenerator());
}

void ResetJobState(JobState& job) {
  JobState fresh;
  fresh.program_folder = platform::ProgramFolder();
  fresh.random_number = DrawRandomNumber();
  fresh.run_mode = std::move(job.run_mode);
  fresh.image_width = job.image_width;
  fresh.image_height = job.image_height;
  fresh.custom_converter_choice_1 = std::move(job.custom_converter_choice_1);
  fresh.custom_converter_choice_2 = std::move(job.custom_converter_choice_2);
  job = std::move(fresh);
}

}  // namespace quill
