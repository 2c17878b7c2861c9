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

// The same conversions with the system's ANSI code page, for byte-exact round trips through
// the ANSI profile functions.
std::wstring FromAnsi(std::string_view bytes);
std::string ToAnsi(std::wstring_view text);

}  // namespace lq::win
