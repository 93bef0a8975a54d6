// Well-known folders on POSIX.
#include "platform/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace quill::platform {

namespace {

// The value of an environment variable that holds an absolute path, without trailing
// separators (the root stays "/"); empty when it is unset or not absolute.
std::string AbsolutePathVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return "";
  std::string path = value;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string ApplicationDataFolder() {
  const std::string xdg = AbsolutePathVariable("XDG_CONFIG_HOME");
  if (!xdg.empty()) return xdg;
  std::string home = AbsolutePathVariable("HOME");
  if (home.empty()) return "";
  if (home.back() != '/') home += '/';
  return home + ".config";
}

std::string ProgramPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "";
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolder() {
  std::string path = ProgramPath();
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  return path.substr(0, slash + 1);
}

bool IsRelativePath(const std::string& path) { return path.empty() || path[0] != '/'; }

}  // namespace quill::platform
