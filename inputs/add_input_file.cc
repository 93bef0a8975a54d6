// Whether a path becomes an input item, its relative folder, and the recursive folder walk.
#include "inputs/add_input_file.h"

#include <filesystem>
#include <system_error>

#include "inputs/folder_walk.h"
#include "platform/files.h"
#include "settings/ascii.h"

namespace quill {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// FIFOs, sockets and devices are never input files: opening a FIFO blocks until someone writes
// to it, a device may never end. Asked only for paths whose size could not be taken.
bool IsSpecialFile(const std::string& path) {
  std::error_code ec;
  const auto type = std::filesystem::status(path, ec).type();
  if (ec) return false;
  using std::filesystem::file_type;
  return type == file_type::fifo || type == file_type::socket || type == file_type::block ||
         type == file_type::character;
}

}  // namespace

std::string_view PathExtension(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view after = path.substr(dot + 1);
  for (char c : after) {
    if (IsSeparator(c) || c == ' ') return {};
  }
  if (dot == 0 || IsSeparator(path[dot - 1])) return {};  // the dot begins the file name
  return after;
}

std::string RelativeFolder(std::string_view path, std::string_view base) {
  if (path.empty() || base.empty()) return {};
  const size_t last = path.find_last_of("/\\");
  if (last == std::string_view::npos) return {};
  const std::string_view folder = path.substr(0, last + 1);
  // Only a folder that begins with the base lies below it; the base standing somewhere in the
  // middle of a path (base /a/, file /x/a/b/f.png) says nothing about where the file lies.
  if (!folder.starts_with(base)) return {};
  std::string_view rest = folder.substr(base.size());
  if (!IsSeparator(base.back())) {
    if (rest.empty() || !IsSeparator(rest.front())) return {};  // base "/a", folder "/ab/"
    rest.remove_prefix(1);
  }
  return std::string(rest);
}

bool InputListAdder::PassesNameRules(const InputList& list, const std::string& path) {
  const std::string_view extension = PathExtension(path);
  return !extension.empty() && list.AcceptsExtension(AsciiLower(extension)) && !list.Contains(path);
}

bool InputListAdder::InsertOfSize(InputList& list, const JobState& job, const std::string& path,
                                  int64_t size) {
  if (size == 0) return false;
  if (size < 0 && IsSpecialFile(path)) return false;
  const InputItem& item = list.Insert(path, RelativeFolder(path, job.input_base_folder));
  if (job.console_flag == 0 && list.added_hook()) list.added_hook()(item);
  return true;
}

bool InputListAdder::AddOfSize(InputList& list, const JobState& job, const std::string& path,
                               int64_t size) {
  return PassesNameRules(list, path) && InsertOfSize(list, job, path, size);
}

// The rules that need no look at the file system come first: their order does not change the
// outcome, and most files of a tree that are refused are refused by their extension.
bool InputListAdder::Add(InputList& list, const JobState& job, const std::string& path) {
  return PassesNameRules(list, path) && InsertOfSize(list, job, path, platform::FileSize(path));
}

bool AddInputFile(InputList& list, const JobState& job, const std::string& path) {
  return InputListAdder::Add(list, job, path);
}

std::string WithFinalSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool FolderWalk::Enter(const std::string& folder) {
  const std::optional<platform::FolderId> id = platform::FolderIdentity(folder);
  return id.has_value() && entered_.insert(*id).second;
}

int32_t FolderWalk::WalkEntered(const std::string& folder) {
  int32_t added = 0;
  for (const platform::FolderEntry& entry : platform::ListFolder(folder)) {
    std::string path = folder + entry.name;
    if (entry.is_folder) {
      path += '/';
      added += Walk(path);
    } else if (InputListAdder::Add(list_, job_, path)) {
      ++added;
    }
  }
  return added;
}

int32_t WalkInputFolder(InputList& list, const JobState& job, const std::string& folder) {
  FolderWalk walk(list, job);
  return walk.Walk(WithFinalSeparator(folder));
}

}  // namespace quill
