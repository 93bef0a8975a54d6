// The configuration reader as LoadConfiguration uses it, and the writer's round trip: what is
// written from any settings read back must read back the same.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "settings/config_file.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  Settings settings;
  ReadSettings(ConfigDocument::Parse(std::string_view(reinterpret_cast<const char*>(data), size)),
               settings);
  MigrateSettings(settings);
  const std::string written = WriteConfiguration(settings);
  Settings again;
  ReadSettings(ConfigDocument::Parse(written), again);
  if (WriteConfiguration(again) != written) std::abort();
  return 0;
}
