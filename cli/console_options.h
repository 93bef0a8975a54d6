// The console options that set one setting each, and profile files, which set the same settings
// from the group "CLI" of an INI file. Both go through the option columns of the settings
// table, so an option exists in both places or in neither.
#pragma once

#include <string>
#include <string_view>

namespace quill {

struct Settings;
struct SettingInfo;

// Stores an option's value in its setting, read by the option's form (integer by the number
// rule, decimal by the decimal rule, keyword through its vocabulary with blanks trimmed, text as
// it stands, flags ignoring it), and sets the row's further field. Never fails: what no rule
// reads becomes 0. The caller has already joined and unquoted a text value.
void ApplyOptionValue(Settings& settings, const SettingInfo& row, std::string_view value);

// Applies the group "CLI" of the profile file at `path`, key by key in file order: keys are the
// option names with their "--" in any letter case; values are trimmed of blanks (only the
// "--filename-mask" value keeps them and loses its double quotes instead); keys that name no
// option, or name one of the options that steer the console, are skipped. False when the path
// is empty or the file cannot be read; a file without the group changes nothing.
bool ApplyProfile(Settings& settings, const std::string& path);

}  // namespace quill
