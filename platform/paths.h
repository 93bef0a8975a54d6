// Well-known folders of the user and of the running program, and the path separator.
#pragma once

#include <string>

namespace quill::platform {

inline constexpr char kPathSeparator = '/';

// The user's folder for application data: $XDG_CONFIG_HOME, else $HOME/.config. Empty when
// neither is set.
std::string ApplicationDataFolder();

// Folder of the running program file, ending with the path separator.
std::string ProgramFolder();

// Full path of the running program file.
std::string ProgramPath();

// True when `path` is relative: on this system, when it does not begin with "/".
bool IsRelativePath(const std::string& path);

}  // namespace quill::platform
