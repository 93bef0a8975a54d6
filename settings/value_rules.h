// How texts become numbers: the console's number and decimal rules and the configuration file's
// integers. None of them fails: each reads as far as the text allows and gives 0 when nothing
// fits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// The number rule of console options and profiles: blanks and tabs skipped, an optional "-" or
// "+", then "$" and hexadecimal digits, "%" and binary digits, or decimal digits; reading stops
// at the first character that does not fit. "95" 95, "50%" 50, "$FF" 255, "%101" 5, "abc" 0.
// The result is exact modulo 2^64, so that storing it in a narrower field keeps the low bits of
// the number as written, however long.
int64_t ReadNumberRule(std::string_view text);

// The integers of the configuration file: blanks and tabs skipped, an optional sign, decimal
// digits up to the first other character ("12px" 12). Exact modulo 2^64 like ReadNumberRule.
int64_t ReadDecimalInteger(std::string_view text);

// The decimal rule: "+Infinity", "-Infinity" and "NaN" in any letter case (blanks and tabs
// around them allowed) give those values; otherwise a decimal number with "." as the point and
// an optional exponent is read from the start of the text, after blanks and tabs, as far as it
// goes ("1,5" 1.0, "2.5e1x" 25.0); no number gives 0. Reading is the same in every locale.
double ReadDecimalRule(std::string_view text);

// Blanks and tabs removed at both ends.
std::string_view TrimBlanksAndTabs(std::string_view text);

}  // namespace quill
