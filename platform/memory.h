// The machine's resources, for memory limits and the number of worker threads.
#pragma once

#include <cstdint>

namespace quill::platform {

// Installed physical memory in bytes; 0 when the system does not tell.
uint64_t PhysicalMemoryBytes();

// Number of processors that can run threads at the same time; at least 1.
unsigned ProcessorCount();

}  // namespace quill::platform
