// Colour settings: six hexadecimal digits RRGGBB.
#pragma once

#include <cstdint>
#include <string_view>

namespace quill {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// A text of exactly six characters is read as three pairs of hexadecimal digits, red, green and
// blue (either letter case); any other text is black. A pair that holds a character other than
// a hexadecimal digit reads as far as its digits go ("0G" is 0, "F." is 15).
constexpr Rgb ParseColour(std::string_view text) {
  if (text.size() != 6) return {};
  const auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  const auto pair = [&](size_t at) -> uint8_t {
    int value = 0;
    for (size_t i = at; i < at + 2; ++i) {
      const int d = digit(text[i]);
      if (d < 0) break;
      value = value * 16 + d;
    }
    return static_cast<uint8_t>(value);
  };
  return {pair(0), pair(2), pair(4)};
}

}  // namespace quill
