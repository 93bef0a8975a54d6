// The console: line output and waiting for a key.
#pragma once

#include <string_view>

namespace quill::platform {

// Writes the text and one line end to standard output and flushes it, so that a script reading
// the output sees each line as soon as it is printed.
void PrintLine(std::string_view text);

// The same on standard error, for messages that are not part of the console report.
void PrintErrorLine(std::string_view text);

// When standard input is a terminal, waits until a key that yields a character is pressed
// (keys such as Shift or the arrows do not end the wait). Otherwise returns at once.
void WaitForKey();

}  // namespace quill::platform
