// Splitting the command line and reading option names and values.
#include "cli/command_line.h"

#include "settings/ascii.h"

namespace quill {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> parameters;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string parameter;
    if (line[i] == '"') {
      // A parameter that begins with a quote: up to the next quote, both quotes dropped.
      const size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) {
        parameter = line.substr(i + 1);
        i = line.size();
      } else {
        parameter = line.substr(i + 1, end - i - 1);
        i = end + 1;
      }
    } else {
      // Anything else: up to the next blank outside a quoted stretch, quotes kept.
      bool quoted = false;
      while (i < line.size() && (quoted || line[i] != ' ')) {
        if (line[i] == '"') quoted = !quoted;
        parameter += line[i];
        ++i;
      }
    }
    parameters.push_back(std::move(parameter));
  }
  if (!parameters.empty()) parameters.erase(parameters.begin());
  return parameters;
}

std::string TrimBlanks(std::string_view text) {
  size_t start = 0;
  size_t end = text.size();
  while (start < end && text[start] == ' ') ++start;
  while (end > start && text[end - 1] == ' ') --end;
  return std::string(text.substr(start, end - start));
}

std::string OptionName(std::string_view parameter) {
  std::string name = TrimBlanks(parameter);
  if (name.empty() || name[0] != '-') return "";
  if (name.size() > 1 && name[1] == '-') {
    const size_t equals = name.find('=');
    if (equals != std::string::npos) name.resize(equals);
  }
  return AsciiUpper(name);
}

std::string OptionValue(std::string_view parameter) {
  std::string value = TrimBlanks(parameter);
  if (value.size() > 2 && value[0] == '-' && value[1] == '-') {
    const size_t equals = value.find('=', 2);
    if (equals != std::string::npos) return value.substr(equals + 1);
  }
  return value;
}

std::string RemoveQuotes(std::string_view value) {
  size_t start = 0;
  size_t end = value.size();
  while (start < end && value[start] == '"') ++start;
  while (end > start && value[end - 1] == '"') --end;
  return std::string(value.substr(start, end - start));
}

}  // namespace quill
