// A fresh temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace quill::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Path of the folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // Path of `name` inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Writes a file `name` (a path inside the folder) and returns its full path.
  std::string MakeFile(const std::string& name, const std::string& bytes = "data") const;
  // Makes the folder `name` inside the folder and returns its full path.
  std::string MakeFolder(const std::string& name) const;

 private:
  std::string path_;
};

// Writes `bytes` to `path`, creating or replacing the file. Aborts the test on failure.
void WriteFile(const std::string& path, const std::string& bytes);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace quill::testing
