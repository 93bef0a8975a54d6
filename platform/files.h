// Files and folders: sizes, existence, listing, creation and last-write times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill::platform {

// Size of the file in bytes, or -1 when it cannot be read (missing, a folder, no access).
int64_t FileSize(const std::string& path);

// A file "exists" for the program when it is a regular file with at least one byte.
bool FileExists(const std::string& path);

bool FolderExists(const std::string& path);

// Creates one folder (mode 0777 less the umask). True when it was made or already exists.
bool CreateFolder(const std::string& path);

// Identity of a folder on its device, so that a walk can tell a folder it has seen already.
struct FolderId {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FolderId&) const = default;
};
std::optional<FolderId> FolderIdentity(const std::string& path);

struct FolderEntry {
  std::string name;        // name within the folder, no separator
  bool is_folder = false;  // a folder, or a symbolic link to one
  bool is_link = false;    // a symbolic link (to anything)
};

// The entries of a folder in the order the system returns them, hidden ones included, "." and
// ".." left out. Empty when the folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& path);

// Last-write time of a file as a program date (see dates.h), or nothing when it cannot be read.
std::optional<int32_t> LastWriteTime(const std::string& path);

// Writes `data` as the whole new content of the file at `path`: into a new file beside it
// first, then renamed over it, so that readers, a crash or a full disk never leave a partial
// file in its place; an existing file stays as it was when the write fails. With `durable` the
// new content reaches the disk before the rename. False when the file could not be written.
bool WriteFileReplacing(const std::string& path, std::string_view data, bool durable = false);

// Whether a name is one that WriteFileReplacing gives its new files while they are written.
bool IsPartialFileName(const std::string& name);

// Removes the partial files that writes which never finished (a killed program) left in
// `folder`; files still being written are left alone. Returns how many were removed.
int RemoveAbandonedPartialFiles(const std::string& folder);

// The whole content of a regular file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Sets the last-write time of a file from a program date; the access time stays as it is.
bool SetLastWriteTime(const std::string& path, int32_t date);

}  // namespace quill::platform
