// The number readers, written out by hand: the C library's readers follow the locale, accept
// forms that these rules do not ("0x1p3", "inf") and stop at overflow instead of keeping the low
// bits.
#include "settings/value_rules.h"

#include <locale.h>

#include <clocale>
#include <cstdlib>

#include "settings/ascii.h"

namespace quill {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t SkipBlanks(std::string_view text, size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char upper = AsciiUpper(c);
  if (upper >= 'A' && upper <= 'F') return upper - 'A' + 10;
  return 99;
}

// Reads digits of `base` from `at` on into a number modulo 2^64, negated when `negative`.
int64_t ReadDigits(std::string_view text, size_t at, unsigned base, bool negative) {
  uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at]);
    if (digit >= static_cast<int>(base)) break;
    value = value * base + static_cast<uint64_t>(digit);
  }
  if (negative) value = 0 - value;
  return static_cast<int64_t>(value);  // two's complement since C++20
}

// Reads an optional sign at `at`; moves past it.
bool ReadSign(std::string_view text, size_t& at) {
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) return text[at++] == '-';
  return false;
}

bool IsDigit(std::string_view text, size_t at) {
  return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

// A locale whose decimal point is ".", made once.
locale_t ClassicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return locale;
}

}  // namespace

std::string_view TrimBlanksAndTabs(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

int64_t ReadNumberRule(std::string_view text) {
  size_t at = SkipBlanks(text, 0);
  const bool negative = ReadSign(text, at);
  unsigned base = 10;
  if (at < text.size() && text[at] == '$') {
    base = 16;
    ++at;
  } else if (at < text.size() && text[at] == '%') {
    base = 2;
    ++at;
  }
  return ReadDigits(text, at, base, negative);
}

int64_t ReadDecimalInteger(std::string_view text) {
  size_t at = SkipBlanks(text, 0);
  const bool negative = ReadSign(text, at);
  return ReadDigits(text, at, 10, negative);
}

double ReadDecimalRule(std::string_view text) {
  const std::string_view word = TrimBlanksAndTabs(text);
  if (EqualsIgnoringAsciiCase(word, "+Infinity")) return __builtin_huge_val();
  if (EqualsIgnoringAsciiCase(word, "-Infinity")) return -__builtin_huge_val();
  if (EqualsIgnoringAsciiCase(word, "NaN")) return __builtin_nan("");

  // The extent of the number: sign, digits, point, digits, then an exponent only when digits
  // follow its letter and sign.
  const size_t start = SkipBlanks(text, 0);
  size_t at = start;
  ReadSign(text, at);
  size_t digits = 0;
  while (IsDigit(text, at)) ++at, ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (IsDigit(text, at)) ++at, ++digits;
  }
  if (digits == 0) return 0.0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponent = at + 1;
    ReadSign(text, exponent);
    if (IsDigit(text, exponent)) {
      at = exponent;
      while (IsDigit(text, at)) ++at;
    }
  }
  // Only the checked characters reach the library's reader, which rounds correctly and gives
  // an infinity for a number too large.
  const std::string number(text.substr(start, at - start));
  return strtod_l(number.c_str(), nullptr, ClassicLocale());
}

}  // namespace quill
