#include "store/tempfiles.h"

#include <string>

namespace lq {

namespace {

constexpr std::size_t kMaxHexDigits = 16;

bool IsHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

}  // namespace

std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, std::uint64_t unique) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), kHex[unique & 0xF]);
    unique >>= 4;
  } while (unique != 0);
  std::filesystem::path temp = target;
  temp += ".~" + digits + ".tmp";
  return temp;
}

bool IsLeftoverTemporaryOf(const std::filesystem::path& target, const std::filesystem::path& fileName) {
  const std::wstring base = target.filename().wstring();
  const std::wstring name = fileName.filename().wstring();
  if (name == base + L".tmp") return true;
  const std::wstring head = base + L".~";
  const std::wstring tail = L".tmp";
  if (name.size() <= head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail)) return false;
  const std::wstring digits = name.substr(head.size(), name.size() - head.size() - tail.size());
  if (digits.size() > kMaxHexDigits) return false;
  for (const wchar_t c : digits) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

}  // namespace lq
