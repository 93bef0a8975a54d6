// Reading and writing the configuration file.
#include "settings/config_file.h"

#include "platform/files.h"
#include "settings/ascii.h"
#include "settings/product.h"
#include "settings/settings.h"
#include "settings/value_rules.h"

namespace quill {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// ISO 8859-1 to UTF-8: every byte is the character of its code.
std::string Latin1ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

// A value as written into a key line. The format has no escapes, so a line break inside a text
// (a folder name may hold one) would end the line and start a key line of its own; it is written
// as a blank instead.
std::string LineSafe(std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return value;
}

}  // namespace

ConfigDocument ConfigDocument::Parse(std::string_view bytes) {
  std::string text;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.assign(bytes.substr(kByteOrderMark.size()));
  } else {
    text = Latin1ToUtf8(bytes);
  }

  ConfigDocument document;
  Group* group = nullptr;  // null above the first group line and in a repeated group
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    // A line ends at CR, at LF, or at CR LF as one.
    at = end;
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;

    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      name = name.substr(0, name.find(']'));
      auto [found, added] =
          document.group_index_.try_emplace(AsciiUpper(name), document.groups_.size());
      if (added) {
        document.groups_.emplace_back();
        group = &document.groups_.back();
      } else {
        group = nullptr;  // a later occurrence of a group adds nothing
      }
      continue;
    }
    if (group == nullptr) continue;
    const size_t equals = line.find('=');
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = line.substr(equals + 1);
      while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    }
    if (group->index.try_emplace(AsciiUpper(key), group->entries.size()).second) {
      group->entries.push_back(ConfigEntry{std::string(key), std::string(value)});
    }
  }
  return document;
}

std::optional<ConfigDocument> ConfigDocument::Load(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const std::optional<std::string> bytes = platform::ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return Parse(*bytes);
}

const ConfigDocument::Group* ConfigDocument::FindGroup(std::string_view group) const {
  const auto found = group_index_.find(AsciiUpper(group));
  return found == group_index_.end() ? nullptr : &groups_[found->second];
}

bool ConfigDocument::HasGroup(std::string_view group) const { return FindGroup(group) != nullptr; }

const std::string* ConfigDocument::Find(std::string_view group, std::string_view key) const {
  const Group* found_group = FindGroup(group);
  if (found_group == nullptr) return nullptr;
  const auto found = found_group->index.find(AsciiUpper(key));
  return found == found_group->index.end() ? nullptr : &found_group->entries[found->second].value;
}

std::span<const ConfigEntry> ConfigDocument::Entries(std::string_view group) const {
  const Group* found = FindGroup(group);
  if (found == nullptr) return {};
  return found->entries;
}

void ReadSettings(const ConfigDocument& document, Settings& settings) {
  for (const SettingInfo& row : SettingsTable()) {
    const std::string* value = document.Find(row.group, row.key);
    if (value == nullptr) {
      SetMissingKeyValue(settings, row);
      continue;
    }
    switch (row.type()) {
      case SettingType::kInt32:
      case SettingType::kInt8:
        SetNumber(settings, row, ReadDecimalInteger(*value));
        break;
      case SettingType::kFloat:
        SetDecimal(settings, row, ReadDecimalRule(*value));
        break;
      case SettingType::kText:
        SetText(settings, row, std::string(TrimBlanksAndTabs(*value)));
        break;
    }
  }
}

void MigrateSettings(Settings& settings) {
  // The mask is lower-cased before its placeholders are replaced, so "%EXT%" counts as present.
  if (settings.cfg < 11 && AsciiLower(settings.filename_mask).find("%ext%") == std::string::npos) {
    settings.filename_mask += ".%ext%";
  }
  if (settings.cfg < 14 && settings.raw_load_as != 0) settings.raw_load_as += 2;
}

void LoadConfiguration(Settings& settings) {
  if (const std::optional<ConfigDocument> document =
          ConfigDocument::Load(settings.configuration_path)) {
    ReadSettings(*document, settings);
  } else {
    ResetSettings(settings, DefaultsFlavour::kDesktop);
  }
  MigrateSettings(settings);
}

std::string WriteConfiguration(const Settings& settings) {
  std::string file(kByteOrderMark);
  file += kLineEnd;
  const auto write_row = [&](const SettingInfo& row) {
    file += row.key;
    file += " = ";
    // The layout written is always this program's, whatever layout the settings came from.
    file += row.member == SettingMember(&Settings::cfg) ? std::to_string(kConfigurationLayout)
                                                        : LineSafe(ValueText(settings, row));
    file += kLineEnd;
  };
  const auto table = SettingsTable();

  for (const std::string_view group : SettingGroups()) {
    file += '[';
    file += group;
    file += ']';
    file += kLineEnd;
    const bool window = group == "Window";
    if (!window || settings.save_window_position != 0) {
      // The rows of the group that belong to no format, those written last after the others.
      for (const bool last : {false, true}) {
        for (const SettingInfo& row : table) {
          if (row.group == group && row.format.empty() && row.written_last == last) {
            write_row(row);
          }
        }
      }
      // Then the load or save settings of each enabled format, in the order of the list.
      const std::vector<std::string>* formats = group == "Input"    ? &EnabledInputFormats()
                                                : group == "Output" ? &EnabledOutputFormats()
                                                                    : nullptr;
      for (const std::string& format : formats ? *formats : std::vector<std::string>{}) {
        for (const SettingInfo& row : table) {
          if (row.group == group && row.format == format) write_row(row);
        }
      }
    }
    file += "; ";
    file += kLineEnd;
  }
  return file;
}

bool SaveConfiguration(const Settings& settings) {
  return platform::WriteFileReplacing(settings.configuration_path, WriteConfiguration(settings),
                                      /*durable=*/true);
}

}  // namespace quill
