// The input list: the files the next conversion run converts, keyed by their exact path, in the
// order of a 512-slot hash table, plus the extensions the list accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quill {

struct InputItem {
  std::string path;             // exactly as offered; the key
  std::string relative_folder;  // below the input base folder, ending in "/"; often empty
  uint64_t sequence = 0;        // running number of adding: a later item has a larger one
};

inline constexpr uint32_t kInputListSlots = 512;

// h = h * 65599 + u over the UTF-16 code units u of the path, in unsigned 32-bit arithmetic.
// A byte that is not part of valid UTF-8 counts as the code unit 0xDC00 + byte, so that every
// path has a hash and distinct invalid bytes stay distinct.
uint32_t PathHash(std::string_view path);

// The slot of a path: its hash modulo 512.
inline uint32_t PathSlot(std::string_view path) { return PathHash(path) % kInputListSlots; }

class InputList {
  struct Node;

 public:
  // Called with each new item while the job is not a console run (the desktop adds a row).
  using AddedHook = std::function<void(const InputItem&)>;

  InputList();
  ~InputList();
  InputList(const InputList&) = delete;
  InputList& operator=(const InputList&) = delete;

  // The item whose key is exactly `path` (letter case included), or null.
  const InputItem* Find(std::string_view path) const;
  bool Contains(std::string_view path) const { return Find(path) != nullptr; }
  // Removes the item of that key; false when there is none.
  bool Remove(std::string_view path);
  // Removes every item. The accepted extensions and the hook stay.
  void Clear();
  size_t Count() const { return index_.size(); }
  bool Empty() const { return index_.empty(); }

  // Conversion order: slots 0 to 511, each slot from its most recently added item back.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = InputItem;
    using difference_type = std::ptrdiff_t;
    using pointer = const InputItem*;
    using reference = const InputItem&;

    const_iterator() = default;
    reference operator*() const;
    pointer operator->() const { return &**this; }
    const_iterator& operator++();
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const const_iterator& other) const { return node_ == other.node_; }

   private:
    friend class InputList;
    const_iterator(const InputList* list, uint32_t slot, const Node* node)
        : list_(list), slot_(slot), node_(node) {}
    const InputList* list_ = nullptr;
    uint32_t slot_ = 0;
    const Node* node_ = nullptr;
  };
  const_iterator begin() const;
  const_iterator end() const { return const_iterator(); }

  // Visits the items in the order they were added (the desktop's row order), oldest first.
  void ForEachInAddedOrder(const std::function<void(const InputItem&)>& visit) const;

  // The lower-case extensions (without dot) that AddInputFile accepts.
  void SetAcceptedExtensions(std::vector<std::string> extensions);
  const std::vector<std::string>& accepted_extensions() const { return accepted_extensions_; }
  bool AcceptsExtension(std::string_view lower_case_extension) const;

  void SetAddedHook(AddedHook hook) { added_hook_ = std::move(hook); }
  const AddedHook& added_hook() const { return added_hook_; }

 private:
  // Only AddInputFile puts items in; it reaches Insert through this class.
  friend class InputListAdder;

  // Puts a new item at the head of its slot's chain. The path must not be in the list yet.
  const InputItem& Insert(std::string path, std::string relative_folder);
  void Unlink(Node* node);

  std::unique_ptr<Node*[]> slot_heads_;
  // Lookups by key; the key views the path held by the node itself.
  std::unordered_map<std::string_view, std::unique_ptr<Node>> index_;
  Node* oldest_ = nullptr;
  Node* newest_ = nullptr;
  uint64_t next_sequence_ = 0;
  std::vector<std::string> accepted_extensions_;
  AddedHook added_hook_;
};

}  // namespace quill
