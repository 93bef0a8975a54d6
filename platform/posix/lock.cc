// Single-instance lock on POSIX: an exclusive flock on a file in the runtime folder.
#include "platform/lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

namespace quill::platform {

std::string RuntimeFolder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  std::string folder;
  if (xdg != nullptr && *xdg != '\0') {
    folder = xdg;
  } else {
    folder = "/tmp/quillpix-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0) {
      // An existing folder is only trusted when it is ours and a real folder.
      struct stat st;
      if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) {
        return "";
      }
    }
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

InstanceLock InstanceLock::Acquire(const std::string& name) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return InstanceLock();
  const std::string path = folder + name + ".lock";
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return InstanceLock();
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return InstanceLock();
  }
  return InstanceLock(fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

InstanceLock::~InstanceLock() { Release(); }

void InstanceLock::Release() {
  if (fd_ >= 0) {
    close(fd_);  // closing the only descriptor releases the flock
    fd_ = -1;
  }
}

}  // namespace quill::platform
