// The iteration order of the program's keyed tables: 512 slots chosen by the same hash as the
// input list, each slot a chain with the most recently added entry at its head.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "inputs/input_list.h"

namespace quill {

// Given entries in the order in which they were added (keys distinct), returns their indices in
// the order the table visits them: slots 0 to 511, and within a slot the later entry first.
// key_of(entry) yields something convertible to std::string_view.
template <typename Entries, typename KeyOf>
std::vector<std::size_t> HashTableOrder(const Entries& entries, KeyOf key_of) {
  std::vector<std::size_t> order;
  std::vector<uint32_t> slots;
  for (const auto& entry : entries) {
    slots.push_back(PathSlot(std::string_view(key_of(entry))));
    order.push_back(order.size());
  }
  std::sort(order.begin(), order.end(), [&slots](std::size_t a, std::size_t b) {
    if (slots[a] != slots[b]) return slots[a] < slots[b];
    return a > b;
  });
  return order;
}

}  // namespace quill
