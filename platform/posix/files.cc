// Files and folders on POSIX.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/dates.h"

namespace quill::platform {
namespace {

// A name for a new file that no other file of the folder is likely to have; its creation is
// exclusive, so a clash only means another try.
std::string TemporaryName() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string name = ".quillpix-";
  uint64_t bits = generator();
  for (int i = 0; i < 12; ++i, bits >>= 4) name += kDigits[bits & 0xF];
  return name + ".part";
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

int64_t FileSize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool FileExists(const std::string& path) { return FileSize(path) > 0; }

bool FolderExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) return false;
  if (mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && FolderExists(path);
}

std::optional<FolderId> FolderIdentity(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return FolderId{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::vector<FolderEntry> ListFolder(const std::string& path) {
  std::vector<FolderEntry> entries;
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return entries;
  std::string base = path;
  if (!base.empty() && base.back() != '/') base += '/';
  while (const dirent* e = readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    FolderEntry entry;
    entry.name = e->d_name;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
      struct stat st;
      const std::string full = base + entry.name;
      if (lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) entry.is_link = true;
      if (stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) entry.is_folder = true;
    } else {
      entry.is_folder = type == DT_DIR;
    }
    entries.push_back(std::move(entry));
  }
  closedir(dir);
  return entries;
}

std::optional<int32_t> LastWriteTime(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return TimeToDate(st.st_mtim.tv_sec);
}

bool SetLastWriteTime(const std::string& path, int32_t date) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = DateToTime(date);
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace quill::platform

namespace quill::platform {

bool WriteFileReplacing(const std::string& path, std::string_view data, bool durable) {
  if (path.empty() || path.back() == '/') return false;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temporary = folder + TemporaryName();
    // Created with the usual permissions (the umask applies), as a directly written file would
    // be; exclusive, so that no other file is ever opened by mistake.
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  // The lock marks the file as being written: a later run removes only partial files whose
  // writer has gone (killed, or the machine stopped), never one that is still being written.
  flock(fd, LOCK_EX);
  bool complete = WriteAll(fd, data);
  if (complete && durable) complete = fsync(fd) == 0;
  // The rename replaces an existing file of that name in one step: readers see the old file or
  // the new one, never a part. It happens while the lock is still held.
  if (complete && std::rename(temporary.c_str(), path.c_str()) == 0) {
    // A failed close after a complete write can only concern data already handed over.
    close(fd);
    return true;
  }
  unlink(temporary.c_str());
  close(fd);
  return false;
}

bool IsPartialFileName(const std::string& name) {
  static constexpr char kPrefix[] = ".quillpix-";
  static constexpr char kSuffix[] = ".part";
  return name.size() > sizeof kPrefix + sizeof kSuffix - 2 && name.rfind(kPrefix, 0) == 0 &&
         name.compare(name.size() - (sizeof kSuffix - 1), sizeof kSuffix - 1, kSuffix) == 0;
}

int RemoveAbandonedPartialFiles(const std::string& folder) {
  int removed = 0;
  for (const FolderEntry& entry : ListFolder(folder)) {
    if (entry.is_folder || entry.is_link || !IsPartialFileName(entry.name)) continue;
    const std::string path =
        (folder.empty() || folder.back() == '/' ? folder : folder + "/") + entry.name;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    // A writer that is still at work holds the lock.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && unlink(path.c_str()) == 0) ++removed;
    close(fd);
  }
  return removed;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  // Read straight into a buffer of the file's size: no growing, no second copy. A file that
  // grows meanwhile is read on to its end.
  std::string content(static_cast<size_t>(st.st_size), '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == content.size()) content.resize(content.size() + 65536);
    const ssize_t got = read(fd, content.data() + filled, content.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  close(fd);
  content.resize(filled);
  return content;
}

}  // namespace quill::platform
