// The built-in English language table in its stored form.
#pragma once

#include <span>
#include <string_view>

namespace quill {

// The stored sequence of the English table: "_GROUP_" and group name, then (key, text) pairs
// for each of its entries, group after group, ended by "_END_". Texts are UTF-8.
std::span<const std::string_view> EnglishLanguageTexts();

}  // namespace quill
