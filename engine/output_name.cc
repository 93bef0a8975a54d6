// Output naming: placeholder expansion, output file names and paths, mirrored subfolders and the
// time stamp of written files.
#include "engine/output_name.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/dates.h"
#include "platform/files.h"

namespace quill {
namespace {

constexpr std::string_view kDefaultMask = "%filename%.%ext%";

constexpr std::array<std::string_view, 18> kPlaceholders = {
    "%filename%", "%filename[u]%", "%filename[l]%", "%filename[t]%", "%ext%", "%ext[u]%",
    "%ext[t]%",   "%yyyy%",        "%mm%",          "%dd%",          "%hh%",  "%ii%",
    "%ss%",       "%bpp%",         "%width%",       "%height%",      "%rnd%", "%n%"};

// File timestamp modes.
constexpr int kTimestampOriginal = 1;
constexpr int kTimestampCustom = 2;

// Letter case of a code point for the Latin, Greek and Cyrillic alphabets. Letters whose other
// case is more than one character (German sharp s) or lies outside the two-byte range of UTF-8
// keep their case, so a mapping never changes the length of a character's encoding.
char32_t UpperCodePoint(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0x80) return c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return c & ~char32_t{1};
  }
  if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c % 2 == 0)) return c - 1;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

char32_t LowerCodePoint(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return c | 1;
  }
  if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c % 2 == 1)) return c + 1;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

char AsciiLowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

// Position of `needle` in `text` from `from` on, ASCII letters compared without regard to case;
// npos when absent.
size_t FindIgnoringCase(std::string_view text, std::string_view needle, size_t from) {
  if (needle.empty()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && AsciiLowerChar(text[i + k]) == AsciiLowerChar(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes of the UTF-8 character at `i`; 1 for a byte that starts no valid character.
size_t CharLength(std::string_view text, size_t i) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (i + length > text.size()) return 1;
  for (size_t k = 1; k < length; ++k) {
    if (!IsContinuation(text[i + k])) return 1;
  }
  return length;
}

// Maps the letters of `text` through `map`. Only one- and two-byte characters have a mapping;
// every other byte, malformed ones included, is copied as it is, so a file name that is not
// valid UTF-8 keeps its bytes.
template <typename Map>
std::string MapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (length == 1 && lead < 0x80) {
      out += static_cast<char>(map(lead));
    } else if (length == 2) {
      const char32_t c = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      const char32_t m = map(c);
      out += static_cast<char>(0xC0 | (m >> 6));
      out += static_cast<char>(0x80 | (m & 0x3F));
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::string Upper(std::string_view text) { return MapCase(text, UpperCodePoint); }
std::string Lower(std::string_view text) { return MapCase(text, LowerCodePoint); }

// First character in upper case, all others in lower case.
std::string Title(std::string_view text) {
  if (text.empty()) return {};
  const size_t first = CharLength(text, 0);
  return Upper(text.substr(0, first)) + Lower(text.substr(first));
}

// Decimal text filled on the left with zeros to `width` characters.
std::string ZeroFilled(int64_t number, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, static_cast<long long>(number));
  return buffer;
}

// Five characters: zeros in front of a shorter number, the leftmost five of a longer one.
std::string FiveCharacters(int32_t number) { return ZeroFilled(number, 5).substr(0, 5); }

// The file name of `path` without its folder and without its last extension.
std::string BaseName(std::string_view path) {
  const size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

// `folder` with a trailing "/", so that appending a name never makes a sibling of the folder.
std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The relative folder ready to be appended below the output folder: each level followed by "/".
// False when it could lead out of the output folder (absolute, or a "." or ".." level).
bool SafeRelativeFolder(const std::string& relative, std::string& out) {
  out = WithSeparator(relative);
  if (!out.empty() && out.front() == '/') return false;
  size_t start = 0;
  while (start < out.size()) {
    const size_t end = out.find('/', start);
    const std::string_view level = std::string_view(out).substr(start, end - start);
    if (level == "." || level == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

PlaceholderValues PlaceholderValuesFor(const JobState& job, int32_t date) {
  PlaceholderValues values;
  values.file_name = BaseName(job.current_input_path);
  values.extension = job.conversion_type;
  values.date = date;
  values.bit_depth = job.output_bit_depth;
  values.width = job.image_width;
  values.height = job.image_height;
  values.random_number = job.random_number;
  values.counter = job.counter;
  return values;
}

// The clock is read once per name, so that the date and time placeholders of one name always
// belong to the same second, even when the replacement runs across a change of minute or day.
PlaceholderValues PlaceholderValuesFor(const JobState& job) {
  return PlaceholderValuesFor(job, platform::CurrentDate());
}

std::span<const std::string_view> FilenamePlaceholders() { return kPlaceholders; }

std::string PlaceholderValue(std::string_view placeholder, const PlaceholderValues& v) {
  const platform::DateFields d = platform::SplitDate(v.date);
  if (placeholder == "%filename%") return v.file_name;
  if (placeholder == "%filename[u]%") return Upper(v.file_name);
  if (placeholder == "%filename[l]%") return Lower(v.file_name);
  if (placeholder == "%filename[t]%") return Title(v.file_name);
  if (placeholder == "%ext%") return v.extension;
  if (placeholder == "%ext[u]%") return Upper(v.extension);
  if (placeholder == "%ext[t]%") return Title(v.extension);
  if (placeholder == "%yyyy%") return ZeroFilled(d.year, 4);
  if (placeholder == "%mm%") return ZeroFilled(d.month, 2);
  if (placeholder == "%dd%") return ZeroFilled(d.day, 2);
  if (placeholder == "%hh%") return ZeroFilled(d.hour, 2);
  if (placeholder == "%ii%") return ZeroFilled(d.minute, 2);
  if (placeholder == "%ss%") return ZeroFilled(d.second, 2);
  if (placeholder == "%bpp%") return std::to_string(v.bit_depth);
  if (placeholder == "%width%") return std::to_string(v.width);
  if (placeholder == "%height%") return std::to_string(v.height);
  if (placeholder == "%rnd%") return FiveCharacters(v.random_number);
  if (placeholder == "%n%") return FiveCharacters(v.counter);
  return {};
}

std::string ReplacePlaceholder(std::string_view text, std::string_view placeholder,
                               std::string_view value) {
  std::string out;
  size_t from = 0;
  for (size_t at = FindIgnoringCase(text, placeholder, 0); at != std::string_view::npos;
       at = FindIgnoringCase(text, placeholder, from)) {
    out.append(text.substr(from, at - from));
    out.append(value);
    from = at + placeholder.size();
  }
  out.append(text.substr(from));
  return out;
}

std::string ExpandPlaceholders(std::string_view text, const PlaceholderValues& values) {
  std::string out(text);
  for (std::string_view placeholder : kPlaceholders) {
    if (FindIgnoringCase(out, placeholder, 0) == std::string_view::npos) continue;
    out = ReplacePlaceholder(out, placeholder, PlaceholderValue(placeholder, values));
  }
  return out;
}

std::string OutputFileName(const Settings& settings, const PlaceholderValues& values) {
  std::string mask = Lower(settings.filename_mask);
  if (mask.empty()) mask = kDefaultMask;
  std::string name = ExpandPlaceholders(mask, values);
  // A name is one entry of its folder: separators are ordinary characters here, so neither
  // the mask nor a file name can lead the output into another folder.
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  }
  if (name.empty() || name == "." || name == "..") return {};
  return name;
}

std::string OutputFileName(const Settings& settings, const JobState& job, int32_t date) {
  return OutputFileName(settings, PlaceholderValuesFor(job, date));
}

std::string OutputFileName(const Settings& settings, const JobState& job) {
  return OutputFileName(settings, PlaceholderValuesFor(job));
}

std::string OutputPath(const Settings& settings, const JobState& job, int32_t date) {
  if (job.output_folder.empty()) return {};
  std::string path = WithSeparator(job.output_folder);
  if (settings.keep_subfolders != 0) {
    std::string relative;
    if (!SafeRelativeFolder(job.current_relative_folder, relative)) return {};
    path += relative;
  }
  const std::string name = OutputFileName(settings, job, date);
  if (name.empty()) return {};
  return path + name;
}

std::string OutputPath(const Settings& settings, const JobState& job) {
  return OutputPath(settings, job, platform::CurrentDate());
}

bool PrepareSubfolders(const Settings& settings, const JobState& job) {
  if (settings.keep_subfolders == 0) return true;
  if (job.output_folder.empty()) return false;
  std::string relative;
  if (!SafeRelativeFolder(job.current_relative_folder, relative)) return false;
  const std::string base = WithSeparator(job.output_folder);
  if (platform::FolderExists(base + relative)) return true;
  // Create each level that is missing; a level that cannot be made shows in the final check.
  std::string path = base;
  size_t start = 0;
  while (start < relative.size()) {
    const size_t end = relative.find('/', start);
    if (end > start) {
      path.append(relative, start, end - start + 1);
      if (!platform::FolderExists(path)) platform::CreateFolder(path);
    }
    start = end + 1;
  }
  return platform::FolderExists(base + relative);
}

bool ApplyTimestamp(const Settings& settings, const JobState& job, const std::string& output_path) {
  switch (settings.file_timestamp) {
    case kTimestampOriginal: {
      const std::optional<int32_t> original = platform::LastWriteTime(job.current_input_path);
      if (!original) return false;
      return platform::SetLastWriteTime(output_path, *original);
    }
    case kTimestampCustom:
      return platform::SetLastWriteTime(output_path, settings.custom_timestamp);
    default:  // CURRENT: the file keeps the time it was written at
      return true;
  }
}

}  // namespace quill
