#pragma once
// Conversion between the store's code-page-932 bytes and the UI's UTF-16, always with code
// page 932 named explicitly, never the system's ANSI code page.

#include <string>
#include <string_view>

namespace lq::win {

inline constexpr unsigned kCodePage932 = 932;

std::wstring FromCp932(std::string_view bytes);

struct Cp932Text {
  std::string bytes;
  bool lossless = true;  // false when some character has no code-page-932 form
};
// Characters that code page 932 cannot hold become "?" and clear `lossless`; no best-fit
// look-alikes are substituted.
Cp932Text ToCp932(std::wstring_view text);

// The first `count` characters, a surrogate pair counting as one character.
std::wstring_view TakeCharacters(std::wstring_view text, std::size_t count);

// Keeps the characters that code page 932 can hold (dropping the others, such as emoji), with
// their code-page-932 bytes: what an editor shows is then exactly what is stored.
struct Cp932Filtered {
  std::wstring kept;
  std::string bytes;
  bool dropped = false;
};
Cp932Filtered FilterToCp932(std::wstring_view text);

// The same conversions with the system's ANSI code page, for byte-exact round trips through
// the ANSI profile functions.
std::wstring FromAnsi(std::string_view bytes);
std::string ToAnsi(std::wstring_view text);

// UTF-8, the form of the program's own message texts and of a UTF-8 settings file.
std::wstring FromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);

}  // namespace lq::win
