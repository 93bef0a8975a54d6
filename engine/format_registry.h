// The formats the engine knows: the output format table, the input format table, and the input
// extensions that this edition accepts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct OutputFormat {
  int library_format = 0;  // FREE_IMAGE_FORMAT of the image library
  std::string extension;   // the key: lower case, no dot
  std::string description;
  std::string allowed_depths;  // comma-separated, ascending
};

struct InputFormat {
  std::string extension;  // the key: lower case, no dot
  std::string group;      // first extension of the family
  std::string description;
};

// Both tables, built once by the constructor and read-only afterwards, so worker threads may
// share them. The tables compare keys exactly; the Find functions lower-case the extension they
// are given first, so "JPG", "Jpg" and "jpg" find the same entry.
class FormatRegistry {
 public:
  FormatRegistry();

  const std::vector<OutputFormat>& outputs() const { return outputs_; }
  const std::vector<InputFormat>& inputs() const { return inputs_; }
  // nullptr when there is no such entry.
  const OutputFormat* FindOutput(std::string_view extension) const;
  const InputFormat* FindInput(std::string_view extension) const;
  // The input entries in the order in which the keyed table is iterated (hash_order.h); the
  // order of inputs() is the order of building.
  std::vector<const InputFormat*> InputsInTableOrder() const;

  // For each enabled format, in list order, every input key whose group equals it, in table
  // order. A format without a family adds nothing, so the list may be empty.
  std::vector<std::string> AcceptedInputExtensions(
      const std::vector<std::string>& enabled_input_formats) const;
  // The same for this edition's EnabledInputFormats().
  std::vector<std::string> AcceptedInputExtensions() const;
  // The depths an output format allows, as numbers; empty for an unknown format.
  std::vector<int> AllowedDepths(std::string_view extension) const;

 private:
  std::vector<OutputFormat> outputs_;
  std::vector<InputFormat> inputs_;
  std::vector<size_t> input_table_order_;  // indices into inputs_
};

// "JPG", or "JPG (JPEG File Format)" with the description.
std::string FormatDisplayText(std::string_view extension, std::string_view description = {});

}  // namespace quill
