#pragma once
// Byte-string helpers for code page 932 (Shift-JIS) texts. Every cell, file line and settings
// value is such a byte string; positions count bytes from 1 where a rule cuts a text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lq {

// Fixed texts the store compares or writes.
inline constexpr std::string_view kDoneMark = "\x8D\xCF";        // 済
inline constexpr std::string_view kFullWidthSpace = "\x81\x40";  // 　 (full-width space)

// True for the first byte of a double-byte character.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Number of characters: a lead byte and the byte after it count as one; a lead byte at the
// very end counts alone.
std::size_t CharCount(std::string_view s);

// The first n characters of s, never splitting a double-byte character.
std::string_view TakeChars(std::string_view s, std::size_t n);

// Removes leading and trailing bytes with codes 0 to 32 (blanks and control characters).
// The full-width space is not a blank.
std::string_view TrimBlanks(std::string_view s);

// Bytes from 1-based position `from` to the end (empty when past the end).
std::string_view BytesFrom(std::string_view s, std::size_t from);

// A decimal integer as the cells hold it: optional "-", then digits, within 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view s);

}  // namespace lq
