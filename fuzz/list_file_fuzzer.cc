// The list-file reader. Lines name paths below the target's own folder only: "/" becomes "_"
// and ".." is broken up, so that no line walks the machine's folders.
#include <unistd.h>

#include <filesystem>

#include "fuzz/fuzz_input.h"
#include "inputs/input_list.h"
#include "inputs/input_tasks.h"
#include "inputs/task_progress.h"
#include "settings/job_state.h"

namespace {

// A small tree to find: two files, a folder and a link back up.
void MakeTree() {
  static bool made = false;
  if (made) return;
  made = true;
  const std::string& root = quill::fuzz::PrivateFolder();
  std::filesystem::create_directories(root + "/tree/sub");
  quill::fuzz::WriteTemporary("tree/a.png", "x");
  quill::fuzz::WriteTemporary("tree/sub/b.png", "y");
  std::error_code error;
  std::filesystem::create_directory_symlink(root + "/tree", root + "/tree/sub/loop", error);
  chdir(root.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  MakeTree();
  std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '/') text[i] = '_';
    if (i > 0 && text[i] == '.' && text[i - 1] == '.') text[i] = '_';
  }
  const std::string list = fuzz::WriteTemporary("list.txt", text);
  InputList inputs;
  inputs.SetAcceptedExtensions({"png"});
  JobState job;
  job.current_input_path = list;
  job.input_base_folder = fuzz::PrivateFolder() + "/";
  TaskProgress progress;
  progress.Prepare();
  InputListRead(inputs, job, progress);
  return 0;
}
