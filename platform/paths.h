// Well-known folders of the user and of the running program, and the path separator.
#pragma once

#include <string>

namespace quill::platform {

inline constexpr char kPathSeparator = '/';

// The user's folder for application data: $XDG_CONFIG_HOME, else $HOME/.config, with no
// trailing separator (unless it is "/"). A variable that is unset, empty or not an absolute path is
// passed over (a relative one would put the data wherever the program happens to be started). Empty
// when neither gives a folder.
std::string ApplicationDataFolder();

// Folder of the running program file, ending with the path separator.
std::string ProgramFolder();

// Full path of the running program file.
std::string ProgramPath();

// True when `path` is relative: on this system, when it does not begin with "/".
bool IsRelativePath(const std::string& path);

}  // namespace quill::platform
