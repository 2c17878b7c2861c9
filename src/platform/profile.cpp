#include "platform/profile.h"

#include <windows.h>

#include "platform/codepage.h"
#include "settings/textforms.h"

namespace lq::win {

// The file is ANSI text: the profile functions turn its bytes into UTF-16 with the system's
// ANSI code page, and turning them back with the same code page restores the bytes exactly.
// So the values stay code-page-932 bytes on a Western Windows too, while the path may hold
// any character.
std::string IniProfile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  constexpr DWORD kBufferBytes = 2048;
  const std::wstring wSection = FromAnsi(section);
  const std::wstring wKey = FromAnsi(key);
  const std::wstring wDefault = FromAnsi(defaultValue);
  wchar_t buffer[kBufferBytes];
  const DWORD n = ::GetPrivateProfileStringW(wSection.c_str(), wKey.c_str(), wDefault.c_str(), buffer,
                                             kBufferBytes, path_.c_str());
  // At most 2,047 bytes, as through a byte buffer, without a double-byte character cut in two.
  return std::string(CutValue(ToAnsi(std::wstring_view(buffer, n))));
}

bool IniProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::wstring wSection = FromAnsi(section);
  const std::wstring wKey = FromAnsi(key);
  const std::wstring wValue = FromAnsi(OneLineValue(value));
  return ::WritePrivateProfileStringW(wSection.c_str(), wKey.c_str(), wValue.c_str(), path_.c_str()) != FALSE;
}

}  // namespace lq::win
