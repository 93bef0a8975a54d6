// The console's help text, its header and its fixed messages.
#pragma once

#include <string>
#include <vector>

namespace quill {

// Fixed console texts. They are the console's own words, not texts of the language table.
inline constexpr char kErrorPrefix[] = "Error: ";
inline constexpr char kIncorrectParameters[] = "Incorrect number of parameters";
inline constexpr char kInvalidProfile[] = "Invalid profile file";
inline constexpr char kPressAnyKey[] = "Press any key to exit.";

// The help text, line by line. `program` is the program file's name without folder and
// extension; the example input extensions are drawn from the edition's input formats by `pick`,
// which receives the number of choices and returns an index below it.
std::vector<std::string> HelpLines(const std::string& program, int (*pick)(int count));

// The header printed before a run: the program title, the maker's notice, the web address and
// a blank line.
std::vector<std::string> HeaderLines();

}  // namespace quill
