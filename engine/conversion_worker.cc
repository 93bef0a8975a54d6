// The conversion run in the input list's order. Several files may be converted at once: worker
// threads load, process and encode files into memory, and the run's own thread takes the
// results in list order, names and writes them and advances the counters, so that every name,
// file, time stamp, count and debug line is the one a single worker gives.
#include "engine/conversion_worker.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/convert_image.h"
#include "engine/output_name.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "settings/ascii.h"

namespace quill {
namespace {

// The most threads a run starts, whatever is asked.
constexpr int kMaxWorkers = 64;

// One file of the run on its way: prepared by a worker, then committed in list order.
struct Entry {
  const InputItem* item = nullptr;
  JobState snapshot;  // the job as the file's conversion sees it
  PreparedImage prepared;
  bool ready = false;
};

// The worker threads and the entries waiting for one. Entries are handed out in list order.
class WorkerPool {
 public:
  WorkerPool(int workers, const Settings& settings, const FormatRegistry& formats,
             DrawingCache& drawings)
      : settings_(settings), formats_(formats), drawings_(drawings) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~WorkerPool() {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      closing_ = true;
    }
    wake_workers_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void Add(Entry* entry) {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      waiting_.push_back(entry);
    }
    wake_workers_.notify_one();
  }

  // Waits until a worker has prepared `entry`.
  void WaitFor(const Entry& entry) {
    std::unique_lock<std::mutex> guard(lock_);
    entry_done_.wait(guard, [&entry] { return entry.ready; });
  }

 private:
  void Work() {
    for (;;) {
      Entry* entry = nullptr;
      {
        std::unique_lock<std::mutex> guard(lock_);
        wake_workers_.wait(guard, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        entry = waiting_.front();
        waiting_.pop_front();
      }
      PreparedImage prepared;
      try {
        prepared = PrepareImage(settings_, formats_, entry->snapshot, &drawings_);
      } catch (const std::bad_alloc&) {
        // Out of memory for this file only: it counts as not converted.
        prepared = PreparedImage{};
        prepared.result = ConvertResult::kNotSaved;
      }
      {
        const std::lock_guard<std::mutex> guard(lock_);
        entry->prepared = std::move(prepared);
        entry->ready = true;
      }
      entry_done_.notify_all();
    }
  }

  const Settings& settings_;
  const FormatRegistry& formats_;
  DrawingCache& drawings_;
  std::mutex lock_;
  std::condition_variable wake_workers_;
  std::condition_variable entry_done_;
  std::deque<Entry*> waiting_;
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

class Worker {
 public:
  explicit Worker(ConversionRun& run)
      : run_(run), job_(run.job), debug_(job_.console_flag != 0 && job_.run_mode == "DEBUG") {}

  void Run() {
    const int workers = WorkerCount();
    if (workers <= 1) {
      RunOneAtATime();
    } else {
      RunSeveralAtOnce(workers);
    }
    run_.progress.SetResult(converted_);
  }

 private:
  // How many files are converted at once: as asked (one per processor when not asked), but one
  // when the watermark text shows the counter or the random number, which are only known when a
  // file's turn to be written comes.
  int WorkerCount() const {
    if (run_.settings.do_watermark == 1) {
      const std::string text = AsciiLower(run_.settings.text);
      if (text.find("%n%") != std::string::npos || text.find("%rnd%") != std::string::npos) {
        return 1;
      }
    }
    const int asked =
        job_.worker_count > 0 ? job_.worker_count : static_cast<int>(platform::ProcessorCount());
    return std::clamp(asked, 1, kMaxWorkers);
  }

  // The start of an entry's turn: progress, the file in work and its subfolders.
  void Begin(const InputItem& item) {
    ++attempted_;
    job_.current_input_path = item.path;
    job_.current_relative_folder = item.relative_folder;
    run_.progress.SetProgress(attempted_, item.path);
    // A subfolder that cannot be made fails the save of this file, which then counts as not
    // converted; the run goes on.
    if (run_.settings.keep_subfolders != 0) PrepareSubfolders(run_.settings, job_);
    if (debug_) Print("Processing: " + item.path);
  }

  // The end of an entry's turn: the outcome, and after a success the counters and the time
  // stamp.
  void Finish(bool ok, const std::string& refusal) {
    if (debug_) {
      Print("Saving As: " + job_.current_output_path);
      Print(ok ? "OK" : "Not OK");
      if (!refusal.empty()) Print("Refused: " + refusal);
    }
    // The first file written into a folder clears the partial files that an earlier run, killed
    // in the middle of a write, left there.
    const size_t slash = job_.current_output_path.rfind('/');
    if (slash != std::string::npos &&
        cleaned_folders_.insert(job_.current_output_path.substr(0, slash + 1)).second) {
      platform::RemoveAbandonedPartialFiles(job_.current_output_path.substr(0, slash + 1));
    }
    if (!ok) return;
    ++converted_;
    job_.random_number = DrawRandomNumber();
    ++job_.counter;
    ApplyTimestamp(run_.settings, job_, job_.current_output_path);
  }

  void RunOneAtATime() {
    for (const InputItem& item : run_.inputs) {
      if (!run_.progress.KeepRunning()) break;
      Begin(item);
      const PreparedImage prepared = PrepareImage(run_.settings, run_.formats, job_, &drawings_);
      Finish(CommitImage(run_.settings, job_, prepared) == ConvertResult::kConverted,
             prepared.refusal);
    }
  }

  void RunSeveralAtOnce(int workers) {
    // Enough entries ahead to keep every worker busy while one waits to be written; no more, so
    // that memory holds at most this many encoded files besides the images in work.
    const size_t ahead = static_cast<size_t>(workers) * 2;
    WorkerPool pool(workers, run_.settings, run_.formats, drawings_);
    std::deque<std::unique_ptr<Entry>> in_flight;
    auto next = run_.inputs.begin();
    bool stopped = false;
    for (;;) {
      // A stop takes no new entries, but every entry already started is finished.
      while (!stopped && in_flight.size() < ahead && next != run_.inputs.end()) {
        if (!run_.progress.KeepRunning()) {
          stopped = true;
          break;
        }
        auto entry = std::make_unique<Entry>();
        entry->item = &*next;
        entry->snapshot = job_;
        entry->snapshot.current_input_path = next->path;
        entry->snapshot.current_relative_folder = next->relative_folder;
        pool.Add(entry.get());
        in_flight.push_back(std::move(entry));
        ++next;
      }
      if (in_flight.empty()) break;
      const std::unique_ptr<Entry> entry = std::move(in_flight.front());
      in_flight.pop_front();
      Begin(*entry->item);
      pool.WaitFor(*entry);
      Finish(CommitImage(run_.settings, job_, entry->prepared) == ConvertResult::kConverted,
             entry->prepared.refusal);
    }
  }

  void Print(const std::string& line) const {
    if (run_.print_line) {
      run_.print_line(line);
    } else {
      platform::PrintLine(line);
    }
  }

  ConversionRun& run_;
  JobState& job_;
  const bool debug_;
  int32_t attempted_ = 0;
  int32_t converted_ = 0;
  std::set<std::string> cleaned_folders_;
  DrawingCache drawings_;  // the frame and watermark as drawn for this run
};

}  // namespace

void ConversionWorker(ConversionRun& run) { Worker(run).Run(); }

int32_t RunConversion(ConversionRun& run) {
  run.progress.ResetResult();
  RunTask(run.progress, [&run] { ConversionWorker(run); });
  return run.progress.result();
}

}  // namespace quill
