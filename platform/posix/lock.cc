// Single-instance lock on POSIX: an exclusive flock on a file in the runtime folder.
#include "platform/lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace quill::platform {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes the private fallback folder, or checks that an existing one is ours. Others must not be
// able to write into it: whoever can replace the lock file can make two copies run at once.
bool PreparePrivateFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  // Open without following a link, so the checks below apply to the folder itself.
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid();
  if (ok && (st.st_mode & 077) != 0) ok = fchmod(fd, 0700) == 0;
  close(fd);
  return ok;
}

}  // namespace

std::string RuntimeFolder() {
  const char* xdg = std::getenv("XDG_RUNTIME_DIR");
  std::string folder;
  if (xdg != nullptr && xdg[0] == '/' && IsFolder(xdg)) {
    folder = xdg;
  } else {
    folder = "/tmp/quillpix-" + std::to_string(getuid());
    if (!PreparePrivateFolder(folder)) return "";
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

InstanceLock InstanceLock::Acquire(const std::string& name) {
  const std::string folder = RuntimeFolder();
  if (folder.empty() || name.empty() || name.find('/') != std::string::npos) {
    return InstanceLock();
  }
  const std::string path = folder + name + ".lock";
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return InstanceLock();
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    close(fd);
    InstanceLock failed;
    failed.busy_ = busy;
    return failed;
  }
  return InstanceLock(fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), busy_(std::exchange(other.busy_, false)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    busy_ = std::exchange(other.busy_, false);
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
