// The parameters of the command line: splitting one command-line text, and reading the option
// name and the option value of a parameter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Splits a whole command-line text into parameters, dropping the first one (the program path).
// Blanks separate parameters, and runs of blanks count as one. A parameter that begins with a
// double quote runs to the next double quote, and both quotes are removed; inside any other
// parameter a double quote starts a quoted stretch up to the next one, whose blanks do not
// split, and those quotes stay in the parameter. Systems that split the command line themselves
// hand their parameters over as they are.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

// The option name of a parameter, upper-cased: the whole parameter for "-x", the part before
// the first "=" for "--name=value", and the empty text for a parameter that is no option.
std::string OptionName(std::string_view parameter);

// The option value of a parameter: for "--name=value" what follows the first "=" (searched from
// the third character on), otherwise the whole parameter. Blanks at both ends are trimmed; the
// case is kept.
std::string OptionValue(std::string_view parameter);

// Blanks at both ends removed.
std::string TrimBlanks(std::string_view text);

// Removes double quotes from both ends of a value: every leading and every trailing one.
std::string RemoveQuotes(std::string_view value);

}  // namespace quill
