#pragma once
// Sorting many texts by the collation with each sort key prepared once: the keys lie in one
// buffer, and a sort compares a 16-byte prefix before it looks at the rest.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/seams.h"

namespace lq {

class KeyOrder {
 public:
  explicit KeyOrder(const Collation& collation) : collation_(collation) {}

  void Reserve(std::size_t count, std::size_t keyBytes);
  // Adds the key of the next item (items are numbered from 0 in the order they are added).
  void Add(std::string_view text);
  std::size_t Size() const { return items_.size(); }

  // The items in key order. Items with equal keys keep the order they were added in, or the
  // reverse of it.
  std::vector<std::uint32_t> Sorted(bool equalKeysReversed) const;

 private:
  struct Item {
    std::uint64_t prefix[2];  // the first 16 key bytes, big-endian, zero-padded
    std::uint32_t offset;
    std::uint32_t length;
    std::uint32_t index;
  };
  const Collation& collation_;
  std::string keys_;
  std::vector<Item> items_;
};

}  // namespace lq
