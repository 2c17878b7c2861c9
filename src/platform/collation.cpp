#include "platform/collation.h"

#include <windows.h>

#include <climits>
#include <string>

#include "platform/codepage.h"

namespace lq::win {
namespace {

constexpr DWORD kKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
// Texts up to this many characters are converted and keyed on the stack: a load makes a key
// for every task, and a heap block per key costs more than the key under some systems.
constexpr int kStackChars = 512;
constexpr int kStackKeyBytes = kStackChars * 8 + 16;

// Appends the key of `wide` to `out`.
void AppendKeyOf(const wchar_t* wide, int len, std::string& out) {
  if (len <= kStackChars) {
    char key[kStackKeyBytes];
    const int n = ::LCMapStringW(LOCALE_USER_DEFAULT, kKeyFlags, wide, len, reinterpret_cast<LPWSTR>(key), kStackKeyBytes);
    if (n > 0) {
      out.append(key, static_cast<std::size_t>(n));
      return;
    }
  }
  const int n = ::LCMapStringW(LOCALE_USER_DEFAULT, kKeyFlags, wide, len, nullptr, 0);
  if (n <= 0) return;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(n));
  const int written = ::LCMapStringW(LOCALE_USER_DEFAULT, kKeyFlags, wide, len, reinterpret_cast<LPWSTR>(out.data() + start), n);
  out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
}

}  // namespace

std::string LocaleCollation::SortKey(std::string_view text) const {
  std::string key;
  AppendSortKey(text, key);
  return key;
}

// The key ends with a NUL byte, which compares the same for every key.
void LocaleCollation::AppendSortKey(std::string_view text, std::string& out) const {
  if (text.empty() || text.size() > INT_MAX) return;
  // A code-page-932 text never has more UTF-16 units than bytes.
  if (text.size() <= static_cast<std::size_t>(kStackChars)) {
    wchar_t wide[kStackChars];
    const int len = ::MultiByteToWideChar(kCodePage932, 0, text.data(), static_cast<int>(text.size()), wide, kStackChars);
    if (len > 0) {
      AppendKeyOf(wide, len, out);
      return;
    }
  }
  const std::wstring wide = FromCp932(text);
  if (wide.empty() || wide.size() > INT_MAX / 8) return;
  AppendKeyOf(wide.data(), static_cast<int>(wide.size()), out);
}

int LocaleCollation::Compare(std::string_view a, std::string_view b) const {
  const std::wstring wa = FromCp932(a);
  const std::wstring wb = FromCp932(b);
  const int r = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()),
                                 wb.data(), static_cast<int>(wb.size()));
  return r == CSTR_LESS_THAN ? -1 : (r == CSTR_GREATER_THAN ? 1 : 0);
}

}  // namespace lq::win
