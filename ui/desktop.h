// Entry of the desktop mode.
#pragma once

namespace quill {

// Runs the desktop window until the user closes it and returns the process exit code.
int RunDesktopMode();

}  // namespace quill
