#include "platform/memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace quill::platform {
namespace {

TEST(MemoryTest, PhysicalMemoryIsWhatTheKernelReports) {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  uint64_t kib = 0;
  while (meminfo >> key && key != "MemTotal:") meminfo.ignore(256, '\n');
  ASSERT_EQ(key, "MemTotal:");
  meminfo >> kib;
  EXPECT_EQ(PhysicalMemoryBytes(), kib * 1024);
  EXPECT_GT(PhysicalMemoryBytes(), 0u);
}

TEST(MemoryTest, ProcessorCountIsTheOnlineProcessors) {
  EXPECT_GE(ProcessorCount(), 1u);
  EXPECT_EQ(ProcessorCount(), static_cast<unsigned>(sysconf(_SC_NPROCESSORS_ONLN)));
}

}  // namespace
}  // namespace quill::platform
