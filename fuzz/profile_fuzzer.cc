// A profile file applied to the settings.
#include "cli/console_options.h"
#include "fuzz/fuzz_input.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  const std::string path = fuzz::WriteTemporary(
      "profile.ini", std::string_view(reinterpret_cast<const char*>(data), size));
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  ApplyProfile(settings, path);
  return 0;
}
