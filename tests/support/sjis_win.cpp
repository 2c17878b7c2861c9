#include <windows.h>

#include "sjis.h"

namespace lq::testing {
namespace {

std::string Convert(std::string_view in, UINT from, UINT to) {
  if (in.empty()) return {};
  const int wn = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), w.data(), wn);
  const int n = WideCharToMultiByte(to, 0, w.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(to, 0, w.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string Sj(std::string_view utf8) { return Convert(utf8, CP_UTF8, 932); }
std::string Utf8(std::string_view cp932) { return Convert(cp932, 932, CP_UTF8); }
std::u16string Utf16(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int n = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  std::u16string w(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), reinterpret_cast<wchar_t*>(w.data()), n);
  return w;
}

}  // namespace lq::testing
