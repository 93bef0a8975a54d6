// Files and folders on POSIX.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/dates.h"

namespace quill::platform {

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
