// The two input tasks: scanning the input base folder and reading a list file. Each runs on a
// thread of its own (TaskThread) and reports through TaskProgress.
#pragma once

#include "inputs/input_list.h"
#include "inputs/task_progress.h"
#include "settings/job_state.h"

namespace quill {

// Adds the files below the job's input base folder. Checks the running flag before each entry
// of the base folder (a subfolder being walked is finished first); processed counts those
// entries. Adds the number of new items to the progress result at its end.
void InputFolderScan(InputList& list, const JobState& job, TaskProgress& progress);

// Reads the list file named by the job's current input path: UTF-8 after an optional byte-order
// mark of any kind, lines ended by CR LF, LF or CR, blanks around each path ignored. Each line
// naming a file goes through AddInputFile, each line naming a folder is walked; empty lines and
// lines naming nothing are skipped without counting. Checks the running flag before each line;
// processed counts the lines that named something. Adds the number of new items to the
// progress result at its end.
void InputListRead(InputList& list, const JobState& job, TaskProgress& progress);

}  // namespace quill
