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
  // holds it or the lock file cannot be made.
  static InstanceLock Acquire(const std::string& name);

  bool held() const { return fd_ >= 0; }
  void Release();

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// Folder that holds the lock files: $XDG_RUNTIME_DIR, else /tmp/quillpix-<uid>/ (made 0700).
// Ends with the path separator; empty when no such folder can be made.
std::string RuntimeFolder();

}  // namespace quill::platform
