// The folder scan and list file tasks.
#include "inputs/input_tasks.h"

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "inputs/folder_walk.h"
#include "platform/files.h"

namespace quill {
namespace {

// Reads a file line by line in large blocks. Lines end at CR LF, LF or CR; a CR LF split
// between two blocks is still one line end.
class LineReader {
 public:
  explicit LineReader(const std::string& path) : in_(path, std::ios::binary) {}
  bool is_open() const { return in_.is_open(); }

  // Passes over a byte-order mark of any kind at the start of the file.
  void SkipByteOrderMark() {
    Fill(4);  // a shorter file can still hold a shorter mark
    const std::string_view start(buffer_.data() + begin_, end_ - begin_);
    static constexpr std::string_view kMarks[] = {
        std::string_view("\xEF\xBB\xBF", 3),      // UTF-8
        std::string_view("\xFF\xFE\x00\x00", 4),  // UTF-32 little-endian, before UTF-16 LE
        std::string_view("\x00\x00\xFE\xFF", 4),  // UTF-32 big-endian
        std::string_view("\xFF\xFE", 2),          // UTF-16 little-endian
        std::string_view("\xFE\xFF", 2),          // UTF-16 big-endian
    };
    for (std::string_view mark : kMarks) {
      if (start.starts_with(mark)) {
        begin_ += mark.size();
        return;
      }
    }
  }

  // The next line without its end; false when the file has ended.
  bool Next(std::string& line) {
    line.clear();
    bool any = false;
    while (true) {
      if (begin_ == end_ && !Fill(1)) return any;
      if (after_cr_) {
        after_cr_ = false;
        if (buffer_[begin_] == '\n') ++begin_;
        if (begin_ == end_) continue;
      }
      any = true;
      const char* data = buffer_.data();
      size_t stop = begin_;
      while (stop < end_ && data[stop] != '\n' && data[stop] != '\r') ++stop;
      line.append(data + begin_, stop - begin_);
      if (stop == end_) {
        begin_ = end_;
        continue;
      }
      after_cr_ = data[stop] == '\r';
      begin_ = stop + 1;
      return true;
    }
  }

 private:
  static constexpr size_t kBlock = 65536;

  // Makes at least `wanted` unread bytes available if the file still has them.
  bool Fill(size_t wanted) {
    if (end_ - begin_ >= wanted) return true;
    if (buffer_.size() < kBlock) buffer_.resize(kBlock);
    std::copy(buffer_.begin() + begin_, buffer_.begin() + end_, buffer_.begin());
    end_ -= begin_;
    begin_ = 0;
    while (end_ < wanted && in_) {
      in_.read(buffer_.data() + end_, static_cast<std::streamsize>(kBlock - end_));
      end_ += static_cast<size_t>(in_.gcount());
    }
    return end_ >= wanted;
  }

  std::ifstream in_;
  std::vector<char> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool after_cr_ = false;  // the last line ended in CR: a following LF belongs to it
};

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

void InputFolderScan(InputList& list, const JobState& job, TaskProgress& progress) {
  int32_t added = 0;
  const std::string base = WithFinalSeparator(job.input_base_folder);
  FolderWalk walk(list, job);
  if (!base.empty() && walk.Enter(base)) {
    int32_t counter = 0;
    for (const platform::FolderEntry& entry : platform::ListFolder(base)) {
      if (!progress.KeepRunning()) break;
      progress.SetProcessed(++counter);
      std::string path = base + entry.name;
      if (entry.is_folder) {
        path += '/';
        added += walk.Walk(path);
      } else if (InputListAdder::Add(list, job, path)) {
        ++added;
      }
    }
  }
  progress.AddResult(added);
}

void InputListRead(InputList& list, const JobState& job, TaskProgress& progress) {
  int32_t added = 0;
  LineReader reader(job.current_input_path);
  if (reader.is_open()) {
    reader.SkipByteOrderMark();
    int32_t counter = 0;
    std::string line;
    while (progress.KeepRunning() && reader.Next(line)) {
      const std::string_view trimmed = TrimBlanks(line);
      // A NUL cannot stand in a path; the system would see only the text before it.
      if (trimmed.empty() || trimmed.find('\0') != std::string_view::npos) continue;
      std::string path(trimmed);
      const int64_t size = platform::FileSize(path);
      if (size >= 0) {
        progress.SetProcessed(++counter);
        if (InputListAdder::AddOfSize(list, job, path, size)) ++added;
      } else if (platform::FolderExists(path)) {
        progress.SetProcessed(++counter);
        FolderWalk walk(list, job);
        added += walk.Walk(WithFinalSeparator(std::move(path)));
      }
    }
  }
  progress.AddResult(added);
}

}  // namespace quill
