// The progress record of background tasks and the thread that runs one.
#include "inputs/task_progress.h"

#include <system_error>

namespace quill {

void TaskProgress::Prepare() {
  std::lock_guard lock(mutex_);
  processed_ = 0;
  current_path_.clear();
  paused_.store(false, std::memory_order_release);
  running_.store(true, std::memory_order_release);
}

void TaskProgress::ResetResult() {
  std::lock_guard lock(mutex_);
  result_ = 0;
}

void TaskProgress::RequestStop() {
  {
    std::lock_guard lock(mutex_);
    running_.store(false, std::memory_order_release);
  }
  resumed_.notify_all();
}

void TaskProgress::Pause() {
  std::lock_guard lock(mutex_);
  paused_.store(true, std::memory_order_release);
}

void TaskProgress::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_.store(false, std::memory_order_release);
  }
  resumed_.notify_all();
}

bool TaskProgress::KeepRunning() {
  if (paused_.load(std::memory_order_acquire)) {
    std::unique_lock lock(mutex_);
    resumed_.wait(lock, [this] {
      return !paused_.load(std::memory_order_acquire) || !running_.load(std::memory_order_acquire);
    });
  }
  return running_.load(std::memory_order_acquire);
}

TaskProgress::Snapshot TaskProgress::Read() const {
  std::lock_guard lock(mutex_);
  return Snapshot{processed_, current_path_, result_};
}

int32_t TaskProgress::processed() const {
  std::lock_guard lock(mutex_);
  return processed_;
}

int32_t TaskProgress::result() const {
  std::lock_guard lock(mutex_);
  return result_;
}

std::string TaskProgress::current_path() const {
  std::lock_guard lock(mutex_);
  return current_path_;
}

void TaskProgress::SetProcessed(int32_t processed) {
  std::lock_guard lock(mutex_);
  processed_ = processed;
}

void TaskProgress::SetProgress(int32_t processed, std::string current_path) {
  std::lock_guard lock(mutex_);
  processed_ = processed;
  current_path_ = std::move(current_path);
}

void TaskProgress::AddResult(int32_t amount) {
  std::lock_guard lock(mutex_);
  result_ += amount;
}

void TaskProgress::SetResult(int32_t result) {
  std::lock_guard lock(mutex_);
  result_ = result;
}

TaskThread& TaskThread::operator=(TaskThread&& other) noexcept {
  if (this != &other) {
    Join();
    thread_ = std::move(other.thread_);
    finished_ = std::move(other.finished_);
  }
  return *this;
}

TaskThread::~TaskThread() { Join(); }

TaskThread TaskThread::Start(TaskProgress& progress, std::function<void()> task) {
  progress.Prepare();
  TaskThread started;
  started.finished_ = std::make_unique<std::atomic<bool>>(false);
  std::atomic<bool>* finished = started.finished_.get();
  auto body = [task = std::move(task), finished] {
    task();
    finished->store(true, std::memory_order_release);
  };
  try {
    started.thread_ = std::thread(body);
  } catch (const std::system_error&) {
    // No thread to be had (resources exhausted): the work still gets done, only not in the
    // background.
    body();
  }
  return started;
}

bool TaskThread::Finished() const {
  return finished_ == nullptr || finished_->load(std::memory_order_acquire);
}

void TaskThread::Join() {
  if (thread_.joinable()) thread_.join();
}

void RunTask(TaskProgress& progress, std::function<void()> task) {
  TaskThread::Start(progress, std::move(task)).Join();
}

}  // namespace quill
