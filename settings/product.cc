// Product identity and the edition's format lists.
#include "settings/product.h"

namespace quill {

std::string VersionText(int version_number) {
  std::string text = std::to_string(version_number);
  if (text.size() < 3) return text;
  text.insert(1, ".");
  text.insert(3, ".");
  if (text.back() == '0') return text.substr(0, 3);
  return text;
}

std::string ProgramTitle() { return std::string(kProductName) + " " + VersionText(kVersionNumber); }

const std::vector<std::string>& EnabledInputFormats() {
  static const std::vector<std::string> formats = {"png"};
  return formats;
}

const std::vector<std::string>& EnabledOutputFormats() {
  static const std::vector<std::string> formats = {"jpg"};
  return formats;
}

}  // namespace quill
