// Text lookup by any group and key, and placeholder filling with any template and values.
#include "fuzz/fuzz_input.h"
#include "i18n/language_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  static const LanguageTable table = LoadLanguageTable();
  fuzz::Input input(data, size);
  const std::string group = input.Text();
  const std::string key = input.Text();
  const std::string text = LookupText(table, group, key);
  const std::string s1 = input.Text();
  const std::string s2 = input.Text();
  FillPlaceholders(std::string(input.Rest()), s1, s2, text);
  FillPlaceholders(text, s1, s2);
  return 0;
}
