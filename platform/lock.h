// The single-instance lock: one copy of a program version runs at a time per user.
#pragma once

#include <string>

namespace quill::platform {

// Owns the system-wide lock called `name` while alive. The system releases it when the process
// ends, so a crashed copy never leaves a stale lock behind.
class InstanceLock {
 public:
  InstanceLock() = default;
  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&& other) noexcept;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();

  // Takes the lock without waiting. Returns an empty lock (held() false) when another process
  // holds it (then busy() is true) or the lock file cannot be made (busy() false).
  static InstanceLock Acquire(const std::string& name);

  bool held() const { return fd_ >= 0; }
  // True when Acquire failed because another process holds the lock, so that a caller can tell
  // "already running" from a lock that could not be made at all.
  bool busy() const { return busy_; }
  void Release();

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_ = -1;
  bool busy_ = false;
};

// Folder that holds the lock files: $XDG_RUNTIME_DIR when it names an existing folder by an
// absolute path, else /tmp/quillpix-<uid>/ (made 0700; an existing one is used only when it
// is a real folder owned by this user, and is closed to others if it was not). Ends with the path
// separator; empty when no such folder can be made.
std::string RuntimeFolder();

}  // namespace quill::platform
