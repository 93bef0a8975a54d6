// Option values and profile files.
#include "cli/console_options.h"

#include "cli/command_line.h"
#include "settings/config_file.h"
#include "settings/settings.h"
#include "settings/value_rules.h"
#include "settings/vocabulary.h"

namespace quill {

void ApplyOptionValue(Settings& settings, const SettingInfo& row, std::string_view value) {
  switch (row.option_form) {
    case OptionForm::kNone:
      return;
    case OptionForm::kFlag:
      SetNumber(settings, row, row.flag_value);
      break;
    case OptionForm::kInteger:
      SetNumber(settings, row, ReadNumberRule(value));
      break;
    case OptionForm::kDecimal:
      SetDecimal(settings, row, ReadDecimalRule(value));
      break;
    case OptionForm::kKeyword:
      SetNumber(settings, row, KeywordToCode(row.vocabulary, TrimBlanks(value)));
      break;
    case OptionForm::kText:
      SetText(settings, row, std::string(value));
      break;
  }
  if (row.also != nullptr) settings.*row.also = row.also_value;
}

bool ApplyProfile(Settings& settings, const std::string& path) {
  if (path.empty()) return false;
  const std::optional<ConfigDocument> profile = ConfigDocument::Load(path);
  if (!profile) return false;
  for (const ConfigEntry& entry : profile->Entries("CLI")) {
    // The options that steer the console (-i, -o, ... and --profile) are not in the table, so
    // their keys find no row.
    const SettingInfo* row = FindProfileOption(entry.key);
    if (row == nullptr) continue;
    if (row->option_form == OptionForm::kText && row->option == "--filename-mask") {
      // Blanks at the ends of a mask are part of the output name.
      ApplyOptionValue(settings, *row, RemoveQuotes(entry.value));
    } else {
      ApplyOptionValue(settings, *row, TrimBlanks(entry.value));
    }
  }
  return true;
}

}  // namespace quill
