// The configuration file "config.ini" and the INI reader that profile files share with it.
//
// Reading accepts more than the program writes: a UTF-8 byte-order mark (otherwise every byte is
// the ISO 8859-1 character of its code), lines ending at CR, LF or CR LF, blanks and tabs before
// a line, ";" comment lines, group lines "[name]" with or without the "]", key lines without
// "=" (an empty value), and group and key names in any ASCII letter case. The first occurrence
// of a group or key counts; key lines above the first group line belong to none and are never
// read.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quill {

struct Settings;

struct ConfigEntry {
  std::string key;    // as written, without trailing blanks and tabs
  std::string value;  // UTF-8, without leading blanks and tabs, up to the end of the line
};

// A configuration text broken into groups and keys.
class ConfigDocument {
 public:
  static ConfigDocument Parse(std::string_view bytes);
  // The file at `path`, or nothing when it cannot be read.
  static std::optional<ConfigDocument> Load(const std::string& path);

  bool HasGroup(std::string_view group) const;
  // The value of a key, or nullptr when the group or the key is missing.
  const std::string* Find(std::string_view group, std::string_view key) const;
  // The keys of a group in file order, each with its first value; empty for a missing group.
  std::span<const ConfigEntry> Entries(std::string_view group) const;

 private:
  struct Group {
    std::vector<ConfigEntry> entries;
    std::unordered_map<std::string, size_t> index;  // upper-cased key -> entry
  };
  const Group* FindGroup(std::string_view group) const;

  std::vector<Group> groups_;
  std::unordered_map<std::string, size_t> group_index_;  // upper-cased name -> group
};

// Fills every persisted setting from the file at `settings.configuration_path`: keys that are
// missing take their load defaults, and an unreadable file gives the desktop defaults. Then
// brings settings of older layouts up to date.
void LoadConfiguration(Settings& settings);

// Reads every persisted setting from a document (a missing key takes its load default), without
// the migrations.
void ReadSettings(const ConfigDocument& document, Settings& settings);

// Brings settings read from an older layout ("CFG" below 17) up to date: masks without the
// extension placeholder get ".%ext%" (layouts before 11), and the codes of "RAW Load As" move
// up by 2 (layouts before 14).
void MigrateSettings(Settings& settings);

// The whole file as SaveConfiguration writes it.
std::string WriteConfiguration(const Settings& settings);

// Writes the file at `settings.configuration_path`, replacing the old one only once the new one
// is complete. False when it could not be written; the caller carries on without a message.
bool SaveConfiguration(const Settings& settings);

}  // namespace quill
