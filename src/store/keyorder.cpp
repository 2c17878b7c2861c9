#include "store/keyorder.h"

#include <algorithm>
#include <cstring>

#include "store/prefetch.h"

namespace lq {
namespace {

constexpr std::size_t kPrefixBytes = 16;
// Runs of equal prefixes up to this size compare their remaining key bytes directly; larger
// ones load the next prefix and are sorted again.
constexpr std::size_t kDirectRun = 16;

}  // namespace

void KeyOrder::Reserve(std::size_t count) { items_.reserve(count); }

void KeyOrder::Add(std::string_view text) {
  ownKeys_.push_back(collation_.SortKey(text));
  AddKey(ownKeys_.back());
}

void KeyOrder::AddKey(std::string_view key) {
  Item item{{0, 0}, key.data(), static_cast<std::uint32_t>(key.size()), static_cast<std::uint32_t>(items_.size())};
  LoadPrefix(item, 0);
  items_.push_back(item);
}

void KeyOrder::LoadPrefix(Item& item, std::size_t depth) {
  if (item.length >= depth + kPrefixBytes) {
    std::uint64_t word[2];
    std::memcpy(word, item.data + depth, kPrefixBytes);
    for (int w = 0; w < 2; ++w) {
      std::uint64_t v = 0;
      const auto* b = reinterpret_cast<const unsigned char*>(&word[w]);
      for (int i = 0; i < 8; ++i) v = (v << 8) | b[i];  // compilers make this one byte swap
      item.prefix[w] = v;
    }
    return;
  }
  unsigned char head[kPrefixBytes] = {};
  if (item.length > depth) std::memcpy(head, item.data + depth, std::min<std::size_t>(item.length - depth, kPrefixBytes));
  item.prefix[0] = 0;
  item.prefix[1] = 0;
  for (std::size_t i = 0; i < kPrefixBytes; ++i) item.prefix[i / 8] = (item.prefix[i / 8] << 8) | head[i];
}

namespace {

// Whether two items next to each other in the order have the same key: only items whose
// prefixes and lengths agree are looked at in the keys.
template <typename Item>
bool SameKey(const Item& x, const Item& y) {
  return x.length == y.length && x.prefix[0] == y.prefix[0] && x.prefix[1] == y.prefix[1] &&
         CompareKeys({x.data, x.length}, {y.data, y.length}) == 0;
}

}  // namespace

std::vector<std::uint32_t> KeyOrder::Sorted(bool equalKeysReversed, std::vector<bool>* tied) const {
  if (InOrder(equalKeysReversed)) return OrderOf(items_, tied);
  std::vector<Item> items = items_;
  Sort(items, equalKeysReversed);
  return OrderOf(items, tied);
}

std::vector<std::uint32_t> KeyOrder::TakeOrder(bool equalKeysReversed, std::vector<bool>* tied) {
  if (!InOrder(equalKeysReversed)) Sort(items_, equalKeysReversed);
  std::vector<std::uint32_t> order = OrderOf(items_, tied);
  items_ = {};
  return order;
}

std::vector<std::uint32_t> KeyOrder::OrderOf(const std::vector<Item>& items, std::vector<bool>* tied) {
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].index;
  if (tied) {
    tied->assign(items.size(), false);
    for (std::size_t i = 1; i < items.size(); ++i) (*tied)[i] = SameKey(items[i - 1], items[i]);
  }
  return order;
}

// A list sorted before comes back in order after most edits: one pass tells.
bool KeyOrder::InOrder(bool equalKeysReversed) const {
  for (std::size_t i = 1; i < items_.size(); ++i) {
    const Item& x = items_[i - 1];
    const Item& y = items_[i];
    if (x.prefix[0] != y.prefix[0]) {
      if (x.prefix[0] > y.prefix[0]) return false;
    } else if (x.prefix[1] != y.prefix[1]) {
      if (x.prefix[1] > y.prefix[1]) return false;
    } else {
      const int c = CompareKeys({x.data, x.length}, {y.data, y.length});
      if (c > 0 || (c == 0 && equalKeysReversed)) return false;
    }
  }
  return true;
}

void KeyOrder::Sort(std::vector<Item>& items, bool equalKeysReversed) {
  // The items themselves are sorted (not indices into them), and they carry the next 16 key
  // bytes: the comparisons stay within one contiguous array. Only a run of items whose prefixes
  // are all equal looks into the keys again, once per item, for their next 16 bytes.
  const auto byIndex = [equalKeysReversed](const Item& x, const Item& y) {
    return equalKeysReversed ? x.index > y.index : x.index < y.index;
  };
  struct Range {
    std::size_t begin;
    std::size_t end;
    std::size_t depth;
  };
  std::vector<Range> pending{{0, items.size(), 0}};
  while (!pending.empty()) {
    const Range range = pending.back();
    pending.pop_back();
    const std::size_t depth = range.depth;
    // Bytes left after `depth`, where 17 stands for "more than the prefix holds": equal
    // prefixes with fewer bytes left are the shorter keys, zero-padded.
    const auto left = [depth](const Item& x) {
      return std::min<std::size_t>(x.length - std::min<std::size_t>(x.length, depth), kPrefixBytes + 1);
    };
    const auto first = items.begin() + static_cast<std::ptrdiff_t>(range.begin);
    const auto last = items.begin() + static_cast<std::ptrdiff_t>(range.end);
    if (range.end - range.begin <= kDirectRun) {
      for (auto it = first; it != last; ++it) Prefetch(it->data + std::min<std::size_t>(it->length, depth));
      std::sort(first, last, [&](const Item& x, const Item& y) {
        const std::string_view kx(x.data + std::min<std::size_t>(x.length, depth), x.length - std::min<std::size_t>(x.length, depth));
        const std::string_view ky(y.data + std::min<std::size_t>(y.length, depth), y.length - std::min<std::size_t>(y.length, depth));
        const int c = CompareKeys(kx, ky);
        return c != 0 ? c < 0 : byIndex(x, y);
      });
      continue;
    }
    std::sort(first, last, [&](const Item& x, const Item& y) {
      if (x.prefix[0] != y.prefix[0]) return x.prefix[0] < y.prefix[0];
      if (x.prefix[1] != y.prefix[1]) return x.prefix[1] < y.prefix[1];
      const std::size_t lx = left(x);
      const std::size_t ly = left(y);
      if (lx != ly) return lx < ly;
      return byIndex(x, y);
    });
    for (std::size_t b = range.begin; b < range.end;) {
      std::size_t e = b + 1;
      const Item& head = items[b];
      const bool more = left(head) > kPrefixBytes;
      while (e < range.end && more && left(items[e]) > kPrefixBytes && items[e].prefix[0] == head.prefix[0] &&
             items[e].prefix[1] == head.prefix[1]) {
        ++e;
      }
      if (e - b > 1) {
        for (std::size_t k = b; k < e; ++k) {
          // The keys lie in the order they were added, no longer the items': asked for ahead.
          if (k + kPrefetchAhead < e) Prefetch(items[k + kPrefetchAhead].data + depth + kPrefixBytes);
          LoadPrefix(items[k], depth + kPrefixBytes);
        }
        pending.push_back(Range{b, e, depth + kPrefixBytes});
      }
      b = e;
    }
  }
}

}  // namespace lq
