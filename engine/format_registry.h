// The formats the engine knows: the output format table, the input format table, and the input
// extensions that this edition accepts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct OutputFormat {
  int library_format = 0;       // FREE_IMAGE_FORMAT of the image library
  std::string extension;        // the key: lower case, no dot
  std::string description;
  std::string allowed_depths;   // comma-separated, ascending
};

struct InputFormat {
  std::string extension;  // the key: lower case, no dot
  std::string group;      // first extension of the family
  std::string description;
};

// Both tables, built once and read-only afterwards, so worker threads may share them.
class FormatRegistry {
 public:
  FormatRegistry();

  const std::vector<OutputFormat>& outputs() const { return outputs_; }
  const std::vector<InputFormat>& inputs() const { return inputs_; }
  // Lookups lower-case the extension they are given; nullptr when there is no such entry.
  const OutputFormat* FindOutput(std::string_view extension) const;
  const InputFormat* FindInput(std::string_view extension) const;
  // Every input key whose family is one of the enabled input formats, in table order.
  std::vector<std::string> AcceptedInputExtensions() const;
  // The depths an output format allows, as numbers; empty for an unknown format.
  std::vector<int> AllowedDepths(std::string_view extension) const;

 private:
  std::vector<OutputFormat> outputs_;
  std::vector<InputFormat> inputs_;
};

// "JPG", or "JPG (JPEG File Format)" with the description.
std::string FormatDisplayText(std::string_view extension, std::string_view description = {});

}  // namespace quill
