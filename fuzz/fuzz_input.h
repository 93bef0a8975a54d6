// Helpers of the fuzz targets: reading pieces of the fuzzer's bytes, and a private folder.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace quill::fuzz {

// The fuzzer's bytes, taken from the front.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto value = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }
  int32_t Int(int32_t low, int32_t high) {
    const uint32_t raw = uint32_t{Byte()} | uint32_t{Byte()} << 8;
    return low + static_cast<int32_t>(raw % static_cast<uint32_t>(high - low + 1));
  }
  // Text up to the next NUL (or the end).
  std::string Text() {
    const size_t end = rest_.find('\0');
    std::string text(rest_.substr(0, end));
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return text;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// The pieces of `text` between NULs or line ends.
inline std::vector<std::string> Pieces(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t at = 0; at <= text.size(); ++at) {
    if (at == text.size() || text[at] == separator) {
      pieces.emplace_back(text.substr(start, at - start));
      start = at + 1;
    }
  }
  return pieces;
}

// A folder of the process's own for files the targets write, made once.
inline const std::string& PrivateFolder() {
  static const std::string folder = [] {
    std::string path =
        (std::filesystem::temp_directory_path() / ("quillpix-fuzz-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

inline std::string WriteTemporary(const std::string& name, std::string_view bytes) {
  const std::string path = PrivateFolder() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace quill::fuzz
