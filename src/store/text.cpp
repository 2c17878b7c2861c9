#include "store/text.h"

#include <limits>

namespace lq {

std::size_t CharCount(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    i += (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  return count;
}

std::string_view TakeChars(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t taken = 0; taken < n && i < s.size(); ++taken) {
    i += (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
  }
  return s.substr(0, i);
}

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
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
