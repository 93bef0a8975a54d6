// Loading an input file.
#include "engine/load_image.h"

namespace quill {

Image LoadPng(const std::string& path) {
  // Paths are bytes on this system, so the narrow-path call takes them as they are.
  return Image(FreeImage_Load(FIF_PNG, path.c_str(), PNG_DEFAULT));
}

}  // namespace quill
