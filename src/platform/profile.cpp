#include "platform/profile.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "settings/textforms.h"

namespace lq::win {

// The file as GetPrivateProfileStringW sees it: ANSI text turned into UTF-16 with the system's
// ANSI code page, lines split at CR or LF, blanks trimmed around lines, names and values.
// `usePrivateProfile` is set for what is not read here (a file with a byte-order mark, one that
// cannot be opened); every read then goes to the profile functions.
struct IniProfile::Snapshot {
  struct Key {
    std::wstring name;
    std::optional<std::wstring> value;  // none for a line without "="
  };
  struct Section {
    std::wstring name;
    std::vector<Key> keys;
  };
  bool usePrivateProfile = false;
  std::vector<Section> sections;
};

namespace {

constexpr DWORD kBufferChars = 2048;

bool IsBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20; }

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names and values are kept as the profile functions hand them on: up to a NUL character.
std::wstring UpToNul(std::wstring_view s) { return std::wstring(s.substr(0, s.find(L'\0'))); }

bool SameName(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

void Parse(std::wstring_view text, IniProfile::Snapshot& out) {
  out.sections.push_back({});  // keys before the first section header, in the section ""
  while (!text.empty()) {
    std::size_t end = text.find_first_of(L"\r\n");
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(text.size(), end + 1));
    if (line.empty()) continue;
    if (line.front() == L'[') {
      const std::size_t close = line.rfind(L']');
      if (close != std::wstring_view::npos && close > 0) {
        out.sections.push_back({UpToNul(Trim(line.substr(1, close - 1))), {}});
        continue;
      }
    }
    IniProfile::Snapshot::Key key;
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) {
      key.name = UpToNul(line);
    } else {
      key.name = UpToNul(Trim(line.substr(0, eq)));
      key.value = UpToNul(Trim(line.substr(eq + 1)));
    }
    out.sections.back().keys.push_back(std::move(key));
  }
}

std::unique_ptr<IniProfile::Snapshot> ReadSnapshot(const std::filesystem::path& path) {
  auto snapshot = std::make_unique<IniProfile::Snapshot>();
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      Parse({}, *snapshot);
    } else {
      snapshot->usePrivateProfile = true;
    }
    return snapshot;
  }
  std::string bytes;
  LARGE_INTEGER size{};
  bool read = ::GetFileSizeEx(file, &size) && size.QuadPart < 0x10000000;
  if (read) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    read = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                             got == bytes.size());
  }
  ::CloseHandle(file);
  const std::string_view b(bytes);
  const bool marked = b.starts_with("\xEF\xBB\xBF") || b.starts_with("\xFF\xFE") || b.starts_with("\xFE\xFF");
  if (!read || marked) {
    snapshot->usePrivateProfile = true;
  } else {
    Parse(FromAnsi(bytes), *snapshot);
  }
  return snapshot;
}

// What lands in a buffer of `kBufferChars`: one pair of quotes around the value dropped, and
// (as the profile functions do it) the closing quote only when the value was not cut.
std::wstring_view CopyEntry(std::wstring_view value) {
  bool quoted = false;
  if (value.size() > 1 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::wstring_view copied = value.substr(0, kBufferChars - 1);
  if (quoted && value.size() <= kBufferChars && !copied.empty()) copied.remove_suffix(1);
  return copied;
}

std::wstring_view Lookup(const IniProfile::Snapshot& s, std::wstring_view section, std::wstring_view key,
                         std::wstring_view defaultValue) {
  section = Trim(section);
  key = Trim(key);
  // A default loses its trailing spaces (not other blanks) before anything else.
  while (defaultValue.size() > 1 && defaultValue.back() == L' ') defaultValue.remove_suffix(1);
  // Only the first section of a name counts, and in it the first key of a name.
  for (const IniProfile::Snapshot::Section& sec : s.sections) {
    if (!SameName(sec.name, section)) continue;
    for (const IniProfile::Snapshot::Key& k : sec.keys) {
      if (SameName(k.name, key)) return CopyEntry(k.value ? std::wstring_view(*k.value) : defaultValue);
    }
    break;
  }
  return CopyEntry(defaultValue);
}

}  // namespace

IniProfile::IniProfile(std::filesystem::path path) : path_(std::move(path)) {}
IniProfile::~IniProfile() = default;

IniProfile::Batch::Batch(const IniProfile& profile) : profile_(profile) { ++profile_.batches_; }
IniProfile::Batch::~Batch() {
  if (--profile_.batches_ == 0) profile_.snapshot_.reset();
}

// The file is ANSI text: the profile functions turn its bytes into UTF-16 with the system's
// ANSI code page, and turning them back with the same code page restores the bytes exactly.
// So the values stay code-page-932 bytes on a Western Windows too, while the path may hold
// any character.
std::string IniProfile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  const std::wstring wSection = FromAnsi(section);
  const std::wstring wKey = FromAnsi(key);
  const std::wstring wDefault = FromAnsi(defaultValue);
  if (batches_ > 0 && !snapshot_) snapshot_ = ReadSnapshot(path_);
  std::wstring_view value;
  wchar_t buffer[kBufferChars];
  if (snapshot_ && !snapshot_->usePrivateProfile) {
    value = Lookup(*snapshot_, wSection, wKey, wDefault);
  } else {
    const DWORD n = ::GetPrivateProfileStringW(wSection.c_str(), wKey.c_str(), wDefault.c_str(), buffer,
                                               kBufferChars, path_.c_str());
    value = std::wstring_view(buffer, n);
  }
  // At most 2,047 bytes, as through a byte buffer, without a double-byte character cut in two.
  return std::string(CutValue(ToAnsi(value)));
}

bool IniProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  snapshot_.reset();  // read again at the next read of a batch
  const std::wstring wSection = FromAnsi(section);
  const std::wstring wKey = FromAnsi(key);
  const std::wstring wValue = FromAnsi(OneLineValue(value));
  return ::WritePrivateProfileStringW(wSection.c_str(), wKey.c_str(), wValue.c_str(), path_.c_str()) != FALSE;
}

}  // namespace lq::win
