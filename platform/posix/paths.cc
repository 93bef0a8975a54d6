// Well-known folders on POSIX.
#include "platform/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace quill::platform {

std::string ApplicationDataFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg != '\0') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return std::string(home) + "/.config";
  return "";
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
