// Messages of the image library (why a file failed to load or save), kept for reports and tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quill {

struct LibraryMessage {
  int format = -1;  // FREE_IMAGE_FORMAT of the plugin that spoke, -1 when none
  std::string text;
};

// The library calls its message handler on whichever thread failed, so the handler only copies
// the text under a lock. The most recent kMaxLibraryMessages messages are kept.
inline constexpr std::size_t kMaxLibraryMessages = 64;

// Installs the handler; done once by InitialiseImageLibrary().
void InstallLibraryMessageHandler();

// A copy of the kept messages, oldest first.
std::vector<LibraryMessage> LibraryMessages();
// The text of the newest message, or empty.
std::string LastLibraryMessage();
// Forgets the kept messages (a front end may do this before each file).
void ClearLibraryMessages();

}  // namespace quill
