// The filename mask and the placeholder expansion, with any mask and any values. A name never
// leads out of its folder.
#include <cstdlib>

#include "engine/output_name.h"
#include "fuzz/fuzz_input.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  fuzz::Input input(data, size);
  PlaceholderValues values;
  const uint32_t high = static_cast<uint32_t>(input.Int(0, 65535));
  values.date = static_cast<int32_t>(high << 16 | static_cast<uint32_t>(input.Int(0, 65535)));
  values.bit_depth = input.Int(-100, 100);
  values.width = input.Int(-5, 70000);
  values.height = input.Int(-5, 70000);
  values.random_number = input.Int(0, 65535);
  values.counter = input.Int(-1000, 65535) * 3;
  values.file_name = input.Text();
  values.extension = input.Text();
  Settings settings;
  ResetSettings(settings, DefaultsFlavour::kConsole);
  settings.filename_mask = std::string(input.Rest());
  const std::string name = OutputFileName(settings, values);
  if (name.find('/') != std::string::npos || name == "." || name == "..") std::abort();
  ExpandPlaceholders(settings.filename_mask, values);
  return 0;
}
