// Opening documents, web pages and mail links with the user's preferred program.
#pragma once

#include <string>

namespace quill::platform {

// Asks the desktop to open `target` (a file, an http address or a mailto link) and returns at
// once without waiting for the program that opens it. False when it could not be started.
bool OpenWithShell(const std::string& target);

}  // namespace quill::platform
