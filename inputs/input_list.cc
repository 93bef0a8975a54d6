// The input list: a fixed 512-slot table of chains for the conversion order, a hash index for
// lookups, and a second chain in the order of adding.
#include "inputs/input_list.h"

#include <algorithm>

namespace quill {

// Each item lives in one node that is linked into its slot's chain (head = newest) and into
// the chain of all items in the order of adding, so that adding and removing cost the same
// whatever the size of the list.
struct InputList::Node {
  InputItem item;
  Node* slot_next = nullptr;  // towards older items of the slot
  Node* slot_prev = nullptr;
  Node* added_next = nullptr;  // towards newer items
  Node* added_prev = nullptr;
  uint32_t slot = 0;
};

uint32_t PathHash(std::string_view path) {
  uint32_t h = 0;
  auto mix = [&h](uint32_t unit) { h = h * 65599u + unit; };
  const size_t n = path.size();
  size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(path[i]);
    if (lead < 0x80) {
      mix(lead);
      ++i;
      continue;
    }
    size_t length = 0;
    uint32_t code = 0;
    uint32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, smallest = 0x10000;
    }
    bool valid = length != 0 && i + length <= n;
    for (size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(path[i + k]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
      } else {
        code = (code << 6) | (next & 0x3F);
      }
    }
    // Overlong forms, encoded surrogates and values beyond Unicode are not valid UTF-8.
    if (valid && (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
      valid = false;
    }
    if (!valid) {
      mix(0xDC00u + lead);
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      mix(0xD800u + (code >> 10));
      mix(0xDC00u + (code & 0x3FF));
    } else {
      mix(code);
    }
    i += length;
  }
  return h;
}

InputList::InputList() : slot_heads_(new Node*[kInputListSlots]()) {}

InputList::~InputList() = default;

const InputItem* InputList::Find(std::string_view path) const {
  auto it = index_.find(path);
  return it == index_.end() ? nullptr : &it->second->item;
}

const InputItem& InputList::Insert(std::string path, std::string relative_folder) {
  auto node = std::make_unique<Node>();
  node->item.path = std::move(path);
  node->item.relative_folder = std::move(relative_folder);
  node->item.sequence = next_sequence_++;
  node->slot = PathSlot(node->item.path);

  Node*& head = slot_heads_[node->slot];
  node->slot_next = head;
  if (head != nullptr) head->slot_prev = node.get();
  head = node.get();

  node->added_prev = newest_;
  if (newest_ != nullptr) newest_->added_next = node.get();
  newest_ = node.get();
  if (oldest_ == nullptr) oldest_ = node.get();

  Node* raw = node.get();
  index_.emplace(std::string_view(raw->item.path), std::move(node));
  return raw->item;
}

void InputList::Unlink(Node* node) {
  if (node->slot_prev != nullptr) {
    node->slot_prev->slot_next = node->slot_next;
  } else {
    slot_heads_[node->slot] = node->slot_next;
  }
  if (node->slot_next != nullptr) node->slot_next->slot_prev = node->slot_prev;

  if (node->added_prev != nullptr) {
    node->added_prev->added_next = node->added_next;
  } else {
    oldest_ = node->added_next;
  }
  if (node->added_next != nullptr) {
    node->added_next->added_prev = node->added_prev;
  } else {
    newest_ = node->added_prev;
  }
}

bool InputList::Remove(std::string_view path) {
  auto it = index_.find(path);
  if (it == index_.end()) return false;
  Unlink(it->second.get());
  index_.erase(it);  // frees the node, and with it the text the key viewed
  return true;
}

void InputList::Clear() {
  index_.clear();
  std::fill(slot_heads_.get(), slot_heads_.get() + kInputListSlots, nullptr);
  oldest_ = newest_ = nullptr;
}

const InputItem& InputList::const_iterator::operator*() const { return node_->item; }

InputList::const_iterator& InputList::const_iterator::operator++() {
  node_ = node_->slot_next;
  while (node_ == nullptr && ++slot_ < kInputListSlots) node_ = list_->slot_heads_[slot_];
  return *this;
}

InputList::const_iterator InputList::begin() const {
  for (uint32_t slot = 0; slot < kInputListSlots; ++slot) {
    if (slot_heads_[slot] != nullptr) return const_iterator(this, slot, slot_heads_[slot]);
  }
  return end();
}

void InputList::ForEachInAddedOrder(const std::function<void(const InputItem&)>& visit) const {
  for (const Node* node = oldest_; node != nullptr; node = node->added_next) visit(node->item);
}

void InputList::SetAcceptedExtensions(std::vector<std::string> extensions) {
  accepted_extensions_ = std::move(extensions);
}

bool InputList::AcceptsExtension(std::string_view lower_case_extension) const {
  return std::find(accepted_extensions_.begin(), accepted_extensions_.end(),
                   lower_case_extension) != accepted_extensions_.end();
}

}  // namespace quill
