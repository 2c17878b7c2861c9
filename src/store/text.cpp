#include "store/text.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace lq {

namespace {

// The byte offset of every character of s, and s.size() after them.
std::vector<std::size_t> CharStarts(std::string_view s) {
  std::vector<std::size_t> starts;
  starts.reserve(s.size() + 1);
  for (std::size_t i = 0; i < s.size(); i += CharBytes(s, i)) starts.push_back(i);
  starts.push_back(s.size());
  return starts;
}

}  // namespace

std::size_t CharCount(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) i += CharBytes(s, i);
  return count;
}

std::string_view TakeChars(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t taken = 0; taken < n && i < s.size(); ++taken) i += CharBytes(s, i);
  return s.substr(0, i);
}

std::size_t FindChars(std::string_view s, std::string_view needle) {
  for (std::size_t i = 0; i + needle.size() <= s.size(); i += CharBytes(s, i)) {
    // The first byte alone rules out most places without a comparison.
    if ((needle.empty() || s[i] == needle[0]) && s.substr(i, needle.size()) == needle) return i;
    if (i == s.size()) break;
  }
  return std::string_view::npos;
}

std::string LimitTextGrowth(std::string_view before, std::string_view after, std::size_t caret, std::size_t limit) {
  const std::vector<std::size_t> b = CharStarts(before);
  const std::vector<std::size_t> a = CharStarts(after);
  const std::size_t nb = b.size() - 1;
  const std::size_t na = a.size() - 1;
  const std::size_t allowed = std::max(limit, nb);
  if (na <= allowed) return std::string(after);
  const auto charOf = [](std::string_view s, const std::vector<std::size_t>& at, std::size_t k) {
    return s.substr(at[k], at[k + 1] - at[k]);
  };

  // The edit inserted the characters between the unchanged start and the unchanged end. Typed
  // and pasted text ends at the caret; when the text after the caret is not the end of the old
  // text (an undo, say), the longest common end decides.
  caret = std::min(caret, na);
  std::size_t tail = na - caret;
  if (tail > nb || after.substr(a[caret]) != before.substr(b[nb - tail])) {
    tail = 0;
    while (tail < nb && charOf(after, a, na - 1 - tail) == charOf(before, b, nb - 1 - tail)) ++tail;
  }
  std::size_t head = 0;
  while (head < nb - tail && charOf(after, a, head) == charOf(before, b, head)) ++head;

  // head + tail <= nb <= allowed < na, so some of the insertion may stay and the rest goes.
  const std::size_t keep = allowed - head - tail;
  std::string out(after.substr(0, a[head + keep]));
  out.append(after.substr(a[na - tail]));
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32) ++b;  // no lead byte is that low
  std::size_t e = s.size();
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  // A lead byte just before the blanks takes the first of them as its second byte, when it
  // begins a character.
  if (e < s.size() && e > b && IsLeadByte(static_cast<unsigned char>(s[e - 1]))) {
    std::size_t i = b;
    while (i < e - 1) i += CharBytes(s, i);
    if (i == e - 1) ++e;
  }
  return s.substr(b, e - b);
}

bool HasControlCharacter(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string_view BytesFrom(std::string_view s, std::size_t from) {
  if (from < 1) from = 1;
  return from - 1 < s.size() ? s.substr(from - 1) : std::string_view{};
}

std::optional<std::int32_t> ParseInt32(std::string_view s) {
  bool negative = false;
  std::size_t i = 0;
  if (!s.empty() && s[0] == '-') {
    negative = true;
    i = 1;
  }
  if (i == s.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace lq
