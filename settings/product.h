// Product identity and the edition's format lists, shared by every part of the program.
#pragma once

#include <string>
#include <vector>

namespace quill {

inline constexpr char kProductName[] = "Quillmere";
inline constexpr int kVersionNumber = 280;  // three digits: major, minor, patch
inline constexpr char kMakerWord[] = "Brackwater";
inline constexpr char kProgramBaseName[] = "quillpix";

// "2.8" for 280, "2.8.1" for 281: a dot after each of the first two digits, and a patch
// digit of 0 dropped.
std::string VersionText(int version_number);

// The product name, one blank and the version text: "Quillmere 2.8".
std::string ProgramTitle();

// What this edition converts from and to, lower-case extensions in order of preference. They
// are fixed for the life of the process.
const std::vector<std::string>& EnabledInputFormats();
const std::vector<std::string>& EnabledOutputFormats();

}  // namespace quill
