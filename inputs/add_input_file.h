// The rule by which a path becomes an input item, and the recursive folder walk that feeds it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "inputs/input_list.h"
#include "settings/job_state.h"

namespace quill {

// The text after the last dot of the path, as written (not lower-cased). Empty when there is
// no extension: no dot, a "/", "\" or blank after the last dot, or the dot is the first
// character of the file name (".png").
std::string_view PathExtension(std::string_view path);

// The part of the path's folder below `base`, ending in "/" ("2019/May/"). Empty when either is
// empty, when the file lies directly in the base folder, or when its folder does not begin
// with the base (exact comparison, letter case included). A base without a final separator is
// taken as if it had one, so the base "/a" never matches the folder "/ab/".
std::string RelativeFolder(std::string_view path, std::string_view base);

// Adds `path` to the list when its extension (lower-cased) is accepted, it is not in the list
// yet and the file is not empty; its relative folder is measured against the job's input base
// folder. A path that does not exist or names a folder is not refused for that; a FIFO, socket
// or device is (reading one would block or never end). Outside a console run the list's added
// hook is called with the new item. True when a new item was made.
bool AddInputFile(InputList& list, const JobState& job, const std::string& path);

// Adds every file below `folder` (recursively, in the order the system lists each folder) and
// returns how many became new items. Each folder is entered at most once per walk, so a
// symbolic link back into the tree neither hangs the walk nor adds files twice.
int32_t WalkInputFolder(InputList& list, const JobState& job, const std::string& folder);

}  // namespace quill
