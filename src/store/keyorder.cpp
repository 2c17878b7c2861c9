#include "store/keyorder.h"

#include <algorithm>
#include <cstring>

namespace lq {
namespace {

constexpr std::size_t kPrefixBytes = 16;

}  // namespace

void KeyOrder::Reserve(std::size_t count) { items_.reserve(count); }

void KeyOrder::Add(std::string_view text) {
  ownKeys_.push_back(collation_.SortKey(text));
  AddKey(ownKeys_.back());
}

void KeyOrder::AddKey(std::string_view key) {
  Item item{{0, 0}, key.data(), static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(items_.size())};
  unsigned char head[kPrefixBytes] = {};
  std::memcpy(head, key.data(), std::min(key.size(), kPrefixBytes));
  for (std::size_t i = 0; i < kPrefixBytes; ++i) item.prefix[i / 8] = (item.prefix[i / 8] << 8) | head[i];
  items_.push_back(item);
}

std::vector<std::uint32_t> KeyOrder::Sorted(bool equalKeysReversed) const {
  // The items themselves are sorted (not indices into them), so most comparisons stay within
  // one contiguous array and only keys with equal prefixes look into the key buffer.
  std::vector<Item> items = items_;
  std::sort(items.begin(), items.end(), [equalKeysReversed](const Item& x, const Item& y) {
    if (x.prefix[0] != y.prefix[0]) return x.prefix[0] < y.prefix[0];
    if (x.prefix[1] != y.prefix[1]) return x.prefix[1] < y.prefix[1];
    // Equal prefixes of keys at least that long are equal first bytes.
    const std::size_t skip = (x.length >= kPrefixBytes && y.length >= kPrefixBytes) ? kPrefixBytes : 0;
    const std::string_view kx(x.data + skip, x.length - skip);
    const std::string_view ky(y.data + skip, y.length - skip);
    const int c = kx.compare(ky);
    if (c != 0) return c < 0;
    return equalKeysReversed ? x.index > y.index : x.index < y.index;
  });
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].index;
  return order;
}

}  // namespace lq
