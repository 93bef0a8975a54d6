// The record through which a background task and its front end talk, and a thread that runs
// one task.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace quill {

// Processed, current path and result are guarded by one mutex; the running flag is an atomic
// that the task reads without the lock. The mutex lives as long as the record, so a front end
// can never find it gone while it polls.
class TaskProgress {
 public:
  struct Snapshot {
    int32_t processed = 0;
    std::string current_path;
    int32_t result = 0;
  };

  // The starter, before a task starts: processed 0, current path empty, running set. The
  // result is kept, so that tasks run in a row add up.
  void Prepare();
  // The starter, when it wants a fresh total.
  void ResetResult();

  // The front end: asks the task to stop at its next check.
  void RequestStop();
  // The front end: while paused, the task does not start its next unit of work (the one in
  // progress may finish). A stop request also lets a paused task go on to its end.
  void Pause();
  void Resume();

  Snapshot Read() const;
  int32_t processed() const;
  int32_t result() const;
  std::string current_path() const;
  bool running() const { return running_.load(std::memory_order_acquire); }

  // The task: its check before each unit of work. Waits while paused, then tells whether to go
  // on.
  bool KeepRunning();
  void SetProcessed(int32_t processed);
  void SetProgress(int32_t processed, std::string current_path);
  void AddResult(int32_t amount);
  void SetResult(int32_t result);

 private:
  mutable std::mutex mutex_;
  std::condition_variable resumed_;
  int32_t processed_ = 0;
  std::string current_path_;
  int32_t result_ = 0;
  std::atomic<bool> running_{false};
  std::atomic<bool> paused_{false};
};

// Runs one task on a thread of its own. The console joins it; the desktop polls Finished().
// The destructor joins a task that is still running.
class TaskThread {
 public:
  TaskThread() = default;
  TaskThread(TaskThread&& other) noexcept = default;
  TaskThread& operator=(TaskThread&& other) noexcept;
  TaskThread(const TaskThread&) = delete;
  TaskThread& operator=(const TaskThread&) = delete;
  ~TaskThread();

  // Prepares `progress` (see TaskProgress::Prepare) and starts `task`. When no thread can be
  // made, the task runs to its end on the calling thread before Start returns.
  static TaskThread Start(TaskProgress& progress, std::function<void()> task);

  // True once the task has returned.
  bool Finished() const;
  // Waits for the task's end.
  void Join();

 private:
  std::thread thread_;
  std::unique_ptr<std::atomic<bool>> finished_;
};

// Starts the task and waits for its end: the console's way.
void RunTask(TaskProgress& progress, std::function<void()> task);

}  // namespace quill
