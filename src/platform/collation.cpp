#include "platform/collation.h"

#include <windows.h>

#include <climits>

#include "platform/codepage.h"

namespace lq::win {

std::string LocaleCollation::SortKey(std::string_view text) const {
  const std::wstring wide = FromCp932(text);
  if (wide.empty() || wide.size() > INT_MAX / 8) return {};
  const int len = static_cast<int>(wide.size());
  std::string key(static_cast<std::size_t>(len) * 4 + 16, '\0');
  int n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len,
                         reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()));
  if (n == 0) {
    n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len, nullptr, 0);
    key.assign(static_cast<std::size_t>(n), '\0');
    n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len,
                       reinterpret_cast<LPWSTR>(key.data()), n);
  }
  // The key ends with a NUL byte, which compares the same for every key.
  key.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return key;
}

void LocaleCollation::AppendSortKey(std::string_view text, std::string& out) const {
  const std::wstring wide = FromCp932(text);
  if (wide.empty() || wide.size() > INT_MAX / 8) return;
  const int len = static_cast<int>(wide.size());
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(len) * 4 + 16);
  int n = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), len,
                         reinterpret_cast<LPWSTR>(out.data() + start), static_cast<int>(out.size() - start));
  if (n == 0) {
    out.resize(start);
    out += SortKey(text);
    return;
  }
  out.resize(start + static_cast<std::size_t>(n));
}

int LocaleCollation::Compare(std::string_view a, std::string_view b) const {
  const std::wstring wa = FromCp932(a);
  const std::wstring wb = FromCp932(b);
  const int r = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()),
                                 wb.data(), static_cast<int>(wb.size()));
  return r == CSTR_LESS_THAN ? -1 : (r == CSTR_GREATER_THAN ? 1 : 0);
}

}  // namespace lq::win
