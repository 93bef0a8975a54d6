// The library's message handler and the kept messages.
#include "engine/library_messages.h"

#include <FreeImage.h>

#include <deque>
#include <mutex>

namespace quill {
namespace {

std::mutex& MessagesLock() {
  static std::mutex lock;
  return lock;
}

std::deque<LibraryMessage>& Messages() {
  static std::deque<LibraryMessage> messages;
  return messages;
}

// Called by the library on the failing thread: copy the text and nothing else.
void OnLibraryMessage(FREE_IMAGE_FORMAT format, const char* message) {
  LibraryMessage copy{static_cast<int>(format), message != nullptr ? message : ""};
  std::lock_guard<std::mutex> hold(MessagesLock());
  auto& messages = Messages();
  if (messages.size() >= kMaxLibraryMessages) messages.pop_front();
  messages.push_back(std::move(copy));
}

}  // namespace

void InstallLibraryMessageHandler() { FreeImage_SetOutputMessage(&OnLibraryMessage); }

std::vector<LibraryMessage> LibraryMessages() {
  std::lock_guard<std::mutex> hold(MessagesLock());
  return {Messages().begin(), Messages().end()};
}

std::string LastLibraryMessage() {
  std::lock_guard<std::mutex> hold(MessagesLock());
  return Messages().empty() ? std::string() : Messages().back().text;
}

void ClearLibraryMessages() {
  std::lock_guard<std::mutex> hold(MessagesLock());
  Messages().clear();
}

}  // namespace quill
