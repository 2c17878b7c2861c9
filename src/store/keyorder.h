#pragma once
// Sorting many texts by the collation with each sort key prepared once: a sort compares 16-byte
// pieces of the keys, kept beside the items, and reads the keys themselves only for the next piece.

#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "store/seams.h"

namespace lq {

// Byte order of two keys (<0, 0, >0), eight bytes at a time: keys of one list share long
// beginnings (the same due date), and some C libraries compare byte by byte.
inline int CompareKeys(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  for (; i < n; ++i) {
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

class KeyOrder {
 public:
  explicit KeyOrder(const Collation& collation) : collation_(collation) {}

  void Reserve(std::size_t count);
  // Adds the key of the next item (items are numbered from 0 in the order they are added).
  void Add(std::string_view text);
  // Adds an item whose sort key was prepared earlier by the same collation. The key is not
  // copied: it must stay where it is until the order has been taken.
  void AddKey(std::string_view key);
  std::string_view Key(std::uint32_t item) const { return {items_[item].data, items_[item].length}; }
  std::size_t Size() const { return items_.size(); }

  // The items in key order. Items with equal keys keep the order they were added in, or the
  // reverse of it.
  // With `tied`, (*tied)[i] tells whether the i-th item of the order has the same key as the one
  // before it.
  std::vector<std::uint32_t> Sorted(bool equalKeysReversed, std::vector<bool>* tied = nullptr) const;
  // The same order, the items sorted where they are: afterwards the order holds no items.
  std::vector<std::uint32_t> TakeOrder(bool equalKeysReversed, std::vector<bool>* tied = nullptr);

 private:
  struct Item {
    std::uint64_t prefix[2];  // the first 16 key bytes, big-endian, zero-padded
    const char* data;
    std::uint32_t length;
    std::uint32_t index;
  };
  // The 16 key bytes from `depth` on, as prefix.
  static void LoadPrefix(Item& item, std::size_t depth);
  bool InOrder(bool equalKeysReversed) const;
  static void Sort(std::vector<Item>& items, bool equalKeysReversed);
  static std::vector<std::uint32_t> OrderOf(const std::vector<Item>& items, std::vector<bool>* tied);

  const Collation& collation_;
  std::deque<std::string> ownKeys_;  // keys made by Add; a deque never moves its elements
  std::vector<Item> items_;
};

}  // namespace lq
