#pragma once
// Byte-string helpers for code page 932 (Shift-JIS) texts. Every cell, file line and settings
// value is such a byte string; positions count bytes from 1 where a rule cuts a text.
//
// "|", "\" and most other bytes from 0x40 up are also the second bytes of double-byte
// characters (ポ is 0x83 0x7C, 表 0x95 0x5C), so a text is searched character by character,
// never byte by byte.

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
// True for a byte that can be the second byte of a double-byte character.
constexpr bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Number of bytes of the character at byte i: a lead byte and the byte after it make one
// character; a lead byte at the very end stands alone.
inline std::size_t CharBytes(std::string_view s, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Number of characters: a lead byte and the byte after it count as one; a lead byte at the
// very end counts alone.
std::size_t CharCount(std::string_view s);

// The first n characters of s, never splitting a double-byte character.
std::string_view TakeChars(std::string_view s, std::size_t n);

// Where the first `needle` begins a character of s (s walked from its start); npos when it
// does not occur there.
std::size_t FindChars(std::string_view s, std::string_view needle);

// The text an editor holds after an edit turned `before` into `after`, with at most `limit`
// characters, or as many as `before` had when that was more: what the edit inserted is cut
// from its end, and text that was there is never cut. `caret` is the number of characters
// before the caret after the edit, where typed or pasted text ends.
std::string LimitTextGrowth(std::string_view before, std::string_view after, std::size_t caret, std::size_t limit);

// Removes leading and trailing bytes with codes 0 to 32 (blanks and control characters).
// The full-width space is not a blank, and neither is a byte that is the second byte of a
// double-byte character.
std::string_view TrimBlanks(std::string_view s);

// Whether any byte is a control character (0 to 31, or 127). No such byte is ever the second
// byte of a double-byte character, so the bytes are looked at one by one.
bool HasControlCharacter(std::string_view s);

// Bytes from 1-based position `from` to the end (empty when past the end).
std::string_view BytesFrom(std::string_view s, std::size_t from);

// A decimal integer as the cells hold it: optional "-", then digits, within 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view s);

}  // namespace lq
