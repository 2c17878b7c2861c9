#pragma once
// What a paste puts into the one-line text editor. Works on the editor's UTF-16 text, with
// whatever character type holds it (wchar_t on Windows, char16_t in the native tests).

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace lq {

namespace detail {
template <class Char>
constexpr bool IsHighSurrogate(Char c) {
  return static_cast<char32_t>(c) >= 0xD800 && static_cast<char32_t>(c) <= 0xDBFF;
}
template <class Char>
constexpr bool IsLowSurrogate(Char c) {
  return static_cast<char32_t>(c) >= 0xDC00 && static_cast<char32_t>(c) <= 0xDFFF;
}
}  // namespace detail

// Characters as the text limit counts them: a surrogate pair is one.
template <class Char>
std::size_t CharacterCount(std::basic_string_view<Char> text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) {
    i += detail::IsHighSurrogate(text[i]) && i + 1 < text.size() && detail::IsLowSurrogate(text[i + 1]) ? 2 : 1;
  }
  return n;
}

// The part of the clipboard's text that a paste inserts into an editor holding `length`
// characters, `selected` of them selected (the paste replaces those). A task is one line, so
// every line break (CR LF, CR or LF) becomes one blank. At most as many characters are
// inserted as keep the text within `limit`, as typing stops there; a text already longer than
// that is never shortened: it only cannot grow.
template <class Char>
std::basic_string<Char> PastedText(std::basic_string_view<Char> clip, std::size_t length, std::size_t selected,
                                   std::size_t limit) {
  const std::size_t kept = length - std::min(selected, length);
  const std::size_t room = std::max(limit, length) - kept;
  std::basic_string<Char> out;
  std::size_t taken = 0;
  for (std::size_t i = 0; i < clip.size() && taken < room; ++taken) {
    if (clip[i] == Char('\r') || clip[i] == Char('\n')) {
      i += clip[i] == Char('\r') && i + 1 < clip.size() && clip[i + 1] == Char('\n') ? 2 : 1;
      out.push_back(Char(' '));
      continue;
    }
    const std::size_t n =
        detail::IsHighSurrogate(clip[i]) && i + 1 < clip.size() && detail::IsLowSurrogate(clip[i + 1]) ? 2 : 1;
    out.append(clip.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace lq
