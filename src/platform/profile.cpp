#include "platform/profile.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/filestore.h"
#include "settings/textforms.h"

namespace lq::win {

// The file as GetPrivateProfileStringW sees it: its text (see Text) split into lines at CR or
// LF, blanks trimmed around lines, names and values.
struct IniProfile::Snapshot {
  struct Key {
    std::wstring name;
    std::optional<std::wstring> value;  // none for a line without "="
  };
  struct Section {
    std::wstring name;
    std::vector<Key> keys;
  };
  std::vector<Section> sections;
};

// As the profile functions read and write it: ANSI text in the system's ANSI code page, or,
// after a byte-order mark, UTF-16 (or UTF-8, as Wine's read it), written back in the form it
// came in.
struct IniProfile::Text {
  enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };
  Encoding encoding = Encoding::Ansi;
  std::wstring text;
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

// A line as the profile functions read it (trimmed, not empty): a section header gives its
// name; any other line is a key, named by what comes before its first "=".
std::optional<std::wstring> SectionNameOf(std::wstring_view line) {
  if (line.front() != L'[') return std::nullopt;
  const std::size_t close = line.rfind(L']');
  if (close == std::wstring_view::npos || close == 0) return std::nullopt;
  return UpToNul(Trim(line.substr(1, close - 1)));
}

// The name alone, without copying.
std::wstring_view KeyNameOf(std::wstring_view line) {
  const std::size_t eq = line.find(L'=');
  if (eq != std::wstring_view::npos) line = Trim(line.substr(0, eq));
  return line.substr(0, line.find(L'\0'));
}

IniProfile::Snapshot::Key KeyOf(std::wstring_view line) {
  IniProfile::Snapshot::Key key;
  const std::size_t eq = line.find(L'=');
  if (eq == std::wstring_view::npos) {
    key.name = UpToNul(line);
  } else {
    key.name = UpToNul(Trim(line.substr(0, eq)));
    key.value = UpToNul(Trim(line.substr(eq + 1)));
  }
  return key;
}

// Calls `visit(begin, end, trimmed)` for each line of the text, the line being text[begin, end)
// without its line break.
template <typename Visit>
void ForEachLine(std::wstring_view text, Visit&& visit) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring_view::npos) end = text.size();
    if (!visit(pos, end, Trim(text.substr(pos, end - pos)))) return;
    pos = end + 1;
  }
}

std::unique_ptr<IniProfile::Snapshot> Parse(std::wstring_view text) {
  auto out = std::make_unique<IniProfile::Snapshot>();
  out->sections.push_back({});  // keys before the first section header, in the section ""
  ForEachLine(text, [&](std::size_t, std::size_t, std::wstring_view line) {
    if (line.empty()) return true;
    if (auto name = SectionNameOf(line)) {
      out->sections.push_back({std::move(*name), {}});
    } else {
      out->sections.back().keys.push_back(KeyOf(line));
    }
    return true;
  });
  return out;
}

// Sets a key as WritePrivateProfileString does: the key's line in the first section of that
// name takes the new value; a new key goes after the section's last line, a new section at
// the end. Every other line stays as it was.
void SetValue(std::wstring& text, std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  const std::wstring entry = std::wstring(key) + L"=" + std::wstring(value);
  bool inSection = false;
  bool replaced = false;
  std::optional<std::size_t> sectionEnd;  // the end of the section's last line
  ForEachLine(text, [&](std::size_t begin, std::size_t end, std::wstring_view line) {
    if (line.empty()) return true;
    if (const auto name = SectionNameOf(line)) {
      if (inSection) return false;  // only the first section of a name counts
      inSection = SameName(*name, section);
    } else if (inSection && SameName(KeyNameOf(line), key)) {
      text.replace(begin, end - begin, entry);
      replaced = true;
      return false;
    }
    if (inSection) sectionEnd = end;
    return true;
  });
  if (replaced) return;
  if (sectionEnd) {
    text.insert(*sectionEnd, L"\r\n" + entry);
    return;
  }
  if (!text.empty() && text.back() != L'\n' && text.back() != L'\r') text += L"\r\n";
  text += L"[" + std::wstring(section) + L"]\r\n" + entry + L"\r\n";
}

std::wstring Utf16Of(std::string_view bytes, bool bigEndian) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

std::wstring FromUtf8(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

IniProfile::Text Decode(std::string_view bytes) {
  using Encoding = IniProfile::Text::Encoding;
  IniProfile::Text t;
  if (bytes.starts_with(kUtf8Mark)) {
    t.encoding = Encoding::Utf8;
    t.text = FromUtf8(bytes.substr(kUtf8Mark.size()));
  } else if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
    const bool bigEndian = bytes.starts_with(kUtf16BeMark);
    t.encoding = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
    t.text = Utf16Of(bytes.substr(2), bigEndian);
  } else {
    t.text = FromAnsi(bytes);
  }
  return t;
}

std::string Encode(const IniProfile::Text& t) {
  using Encoding = IniProfile::Text::Encoding;
  switch (t.encoding) {
    case Encoding::Utf8:
      return std::string(kUtf8Mark) + ToUtf8(t.text);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
      const bool bigEndian = t.encoding == Encoding::Utf16Be;
      std::string bytes(bigEndian ? kUtf16BeMark : kUtf16LeMark);
      for (const wchar_t c : t.text) {
        const char high = static_cast<char>(static_cast<unsigned>(c) >> 8);
        const char low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
      }
      return bytes;
    }
    case Encoding::Ansi:
      break;
  }
  return ToAnsi(t.text);
}

// The file's text; an empty one when there is no file yet, none when it cannot be read (a
// write would lose every other key).
std::unique_ptr<IniProfile::Text> LoadText(const std::filesystem::path& path) {
  const ReadResult read = WinFileStore().ReadAll(path);
  if (read.status == ReadStatus::NotFound) return std::make_unique<IniProfile::Text>();
  if (read.status != ReadStatus::Ok) return nullptr;
  return std::make_unique<IniProfile::Text>(Decode(read.bytes));
}

// What the profile functions read from a file that cannot be read: nothing.
std::unique_ptr<IniProfile::Snapshot> ReadSnapshot(const std::filesystem::path& path) {
  const std::unique_ptr<IniProfile::Text> text = LoadText(path);
  return Parse(text ? std::wstring_view(text->text) : std::wstring_view());
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
  std::unique_ptr<Snapshot> once;
  const Snapshot* snapshot = snapshot_.get();
  if (!snapshot) {
    std::unique_ptr<Snapshot> fresh = pending_ ? Parse(pending_->text) : ReadSnapshot(path_);
    if (batches_ > 0 || pending_) {
      snapshot_ = std::move(fresh);
      snapshot = snapshot_.get();
    } else {
      once = std::move(fresh);
      snapshot = once.get();
    }
  }
  const std::wstring wDefault = FromAnsi(defaultValue);  // the answer may be (part of) it
  const std::wstring_view value = Lookup(*snapshot, FromAnsi(section), FromAnsi(key), wDefault);
  // At most 2,047 bytes, as through a byte buffer, without a double-byte character cut in two.
  return std::string(CutValue(ToAnsi(value)));
}

bool IniProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  snapshot_.reset();  // read again at the next read of a batch
  std::unique_ptr<Text> own;
  Text* text = pending_.get();
  if (!text) {
    own = LoadText(path_);
    if (!own) {
      if (edits_ > 0) editFailed_ = true;
      return false;
    }
    text = own.get();
  }
  // Names and values end at a NUL, as they do on their way through the profile functions.
  SetValue(text->text, Trim(UpToNul(FromAnsi(section))), Trim(UpToNul(FromAnsi(key))),
           UpToNul(FromAnsi(OneLineValue(value))));
  if (edits_ == 0) return WinFileStore().ReplaceAll(path_, Encode(*text));
  if (!pending_) pending_ = std::move(own);
  return true;
}

void IniProfile::BeginEdit() { ++edits_; }

bool IniProfile::EndEdit(bool commit) {
  if (!commit) editFailed_ = true;  // an inner edit dropped takes the outer one with it
  if (--edits_ > 0) return !editFailed_;
  const std::unique_ptr<Text> text = std::move(pending_);
  snapshot_.reset();
  if (std::exchange(editFailed_, false)) return false;
  return !text || WinFileStore().ReplaceAll(path_, Encode(*text));
}

}  // namespace lq::win
