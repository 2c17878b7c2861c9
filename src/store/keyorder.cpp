#include "store/keyorder.h"

#include <algorithm>
#include <cstring>

namespace lq {
namespace {

constexpr std::size_t kPrefixBytes = 16;

}  // namespace

void KeyOrder::Reserve(std::size_t count, std::size_t keyBytes) {
  items_.reserve(count);
  keys_.reserve(keyBytes);
}

void KeyOrder::Add(std::string_view text) {
  const std::size_t offset = keys_.size();
  collation_.AppendSortKey(text, keys_);
  const std::size_t length = keys_.size() - offset;
  Item item{{0, 0}, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length),
            static_cast<std::uint32_t>(items_.size())};
  unsigned char head[kPrefixBytes] = {};
  std::memcpy(head, keys_.data() + offset, std::min(length, kPrefixBytes));
  for (std::size_t i = 0; i < kPrefixBytes; ++i) item.prefix[i / 8] = (item.prefix[i / 8] << 8) | head[i];
  items_.push_back(item);
}

std::vector<std::uint32_t> KeyOrder::Sorted(bool equalKeysReversed) const {
  // The items themselves are sorted (not indices into them), so most comparisons stay within
  // one contiguous array and only keys with equal prefixes look into the key buffer.
  std::vector<Item> items = items_;
  const char* base = keys_.data();
  std::sort(items.begin(), items.end(), [&](const Item& x, const Item& y) {
    if (x.prefix[0] != y.prefix[0]) return x.prefix[0] < y.prefix[0];
    if (x.prefix[1] != y.prefix[1]) return x.prefix[1] < y.prefix[1];
    // Equal prefixes of keys at least that long are equal first bytes.
    const std::size_t skip = (x.length >= kPrefixBytes && y.length >= kPrefixBytes) ? kPrefixBytes : 0;
    const std::string_view kx(base + x.offset + skip, x.length - skip);
    const std::string_view ky(base + y.offset + skip, y.length - skip);
    const int c = kx.compare(ky);
    if (c != 0) return c < 0;
    return equalKeysReversed ? x.index > y.index : x.index < y.index;
  });
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].index;
  return order;
}

}  // namespace lq
