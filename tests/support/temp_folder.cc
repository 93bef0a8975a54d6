// Temporary folders and small file helpers for tests.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quill::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quilltest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary folder";
  }
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Folders a test made unreadable or unwritable must still be removable.
  for (auto it = std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
  }
  std::filesystem::remove_all(path_, ec);
}

std::string TempFolder::MakeFile(const std::string& name, const std::string& bytes) const {
  const std::string path = *this / name;
  WriteFile(path, bytes);
  return path;
}

std::string TempFolder::MakeFolder(const std::string& name) const {
  const std::string path = *this / name;
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::create_directory(path, ec)) << path << ": " << ec.message();
  return path;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace quill::testing
