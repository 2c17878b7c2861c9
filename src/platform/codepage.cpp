#include "platform/codepage.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace lq::win {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

}  // namespace

std::wstring FromCp932(std::string_view bytes) { return ToWide(kCodePage932, bytes); }

Cp932Text ToCp932(std::wstring_view text) {
  Cp932Text result;
  if (text.empty() || text.size() > INT_MAX) return result;
  BOOL usedDefault = FALSE;
  const int len = static_cast<int>(text.size());
  const int n = ::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), len, nullptr, 0, "?",
                                      &usedDefault);
  result.bytes.resize(static_cast<std::size_t>(n));
  usedDefault = FALSE;
  ::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), len, result.bytes.data(), n, "?",
                        &usedDefault);
  result.lossless = usedDefault == FALSE;
  return result;
}

std::wstring_view TakeCharacters(std::wstring_view text, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t taken = 0; taken < count && i < text.size(); ++taken) {
    const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
    i += pair ? 2 : 1;
  }
  return text.substr(0, i);
}

Cp932Filtered FilterToCp932(std::wstring_view text) {
  // Whole blocks in one conversion each; only a block that holds a character the code page
  // lacks is gone through a character at a time. A conversion call costs far more than a
  // character, and a long text is almost always all convertible.
  constexpr std::size_t kBlock = 4096;
  Cp932Filtered result;
  result.kept.reserve(text.size());
  result.bytes.reserve(text.size() * 2);
  const auto convert = [&](std::wstring_view part) {
    char buf[2 * kBlock + 8];
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, part.data(), static_cast<int>(part.size()),
                                        buf, sizeof buf, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    result.kept.append(part);
    result.bytes.append(buf, static_cast<std::size_t>(n));
    return true;
  };
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.size(), start + kBlock);
    if (end < text.size() && IS_HIGH_SURROGATE(text[end - 1])) --end;  // a pair stays in one block
    if (end == start) end = start + 1;
    if (!convert(text.substr(start, end - start))) {
      for (std::size_t i = start; i < end;) {
        const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        const std::size_t len = pair ? 2 : 1;
        if (!convert(text.substr(i, len))) result.dropped = true;
        i += len;
      }
    }
    start = end;
  }
  return result;
}

std::wstring FromUtf8(std::string_view bytes) { return ToWide(CP_UTF8, bytes); }

std::string ToUtf8(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int len = static_cast<int>(text.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(std::string_view bytes) { return ToWide(CP_ACP, bytes); }

std::string ToAnsi(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int len = static_cast<int>(text.size());
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace lq::win
