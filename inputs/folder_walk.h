// Building blocks shared by AddInputFile, WalkInputFolder and the input tasks.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "inputs/input_list.h"
#include "platform/files.h"
#include "settings/job_state.h"

namespace quill {

// The only way into InputList::Insert.
class InputListAdder {
 public:
  // AddInputFile for a caller that has taken the file's size already (-1: not a regular file),
  // so that a list line costs one look at the file system, not two.
  static bool AddOfSize(InputList& list, const JobState& job, const std::string& path,
                        int64_t size);
  // AddInputFile; the size is taken only when the cheaper rules pass.
  static bool Add(InputList& list, const JobState& job, const std::string& path);

 private:
  // The extension and duplicate rules.
  static bool PassesNameRules(const InputList& list, const std::string& path);
  // The size rule, then the new item; the name rules have passed.
  static bool InsertOfSize(InputList& list, const JobState& job, const std::string& path,
                           int64_t size);
};

// One recursive walk: remembers the identity of every folder it entered, so that no folder is
// entered twice however symbolic links lead back into the tree.
class FolderWalk {
 public:
  FolderWalk(InputList& list, const JobState& job) : list_(list), job_(job) {}

  // Marks the folder as entered. False when it was entered before or is no folder.
  bool Enter(const std::string& folder);
  // Adds the files of a folder that Enter accepted, and of its subfolders; `folder` ends in "/".
  int32_t WalkEntered(const std::string& folder);
  // Enter, then WalkEntered; 0 when the folder is not entered.
  int32_t Walk(const std::string& folder) { return Enter(folder) ? WalkEntered(folder) : 0; }

 private:
  struct IdHash {
    size_t operator()(const platform::FolderId& id) const {
      return std::hash<uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
  };
  InputList& list_;
  const JobState& job_;
  std::unordered_set<platform::FolderId, IdHash> entered_;
};

// The folder path with a final "/" (unchanged when it has one or is empty).
std::string WithFinalSeparator(std::string folder);

}  // namespace quill
