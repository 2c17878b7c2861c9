#include "store/attachment.h"

#include <array>

#include "store/tasktable.h"
#include "store/text.h"

namespace lq {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Byte position of the last separator that is a character of its own; npos when none.
std::size_t LastSeparator(std::string_view path) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += CharBytes(path, i)) {
    if (IsSeparator(path[i])) last = i;
  }
  return last;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The types that run as programs or scripts when opened, whatever PATHEXT says.
constexpr std::array<std::string_view, 33> kProgramTypes{
    ".APPLICATION", ".BAT",  ".CMD", ".COM", ".CPL", ".EXE",  ".GADGET", ".HTA", ".INF",    ".JAR",   ".JS",
    ".JSE",         ".MSC",  ".MSI", ".MSP", ".MST", ".PIF",  ".PS1",    ".PS1XML", ".PS2", ".PSC1",  ".PSC2",
    ".REG",         ".SCF",  ".SCR", ".SCT", ".VB",  ".VBE",  ".VBS",    ".WS",  ".WSC",    ".WSF",   ".WSH"};

}  // namespace

std::string AttachmentFolder(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  if (sep == std::string_view::npos) return {};
  const std::string_view before = path.substr(0, sep);
  if (before.empty()) return std::string(path.substr(0, 1));  // "\file": the current drive's root
  if (before.size() == 2 && before[1] == ':') return std::string(before) + '\\';
  return std::string(before);
}

std::string_view AttachmentFileName(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view HintText(std::string_view attachment, bool fullPath) {
  if (fullPath || IsWebAddress(attachment)) return attachment;
  return AttachmentFileName(attachment);
}

std::string UpperExtension(std::string_view path) {
  std::string_view name = AttachmentFileName(path);
  // Windows drops trailing dots and blanks from a name: "setup.exe. " opens setup.exe.
  // (Neither byte can be the second byte of a double-byte character.)
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < name.size(); i += CharBytes(name, i)) {
    if (name[i] == '.') dot = i;
  }
  if (dot == std::string_view::npos) return {};
  std::string ext;
  for (std::size_t i = dot; i < name.size();) {
    const std::size_t n = CharBytes(name, i);
    ext += n == 1 ? std::string(1, UpperAscii(name[i])) : std::string(name.substr(i, n));
    i += n;
  }
  return ext;
}

bool IsProgramExtension(std::string_view upperExtension, std::string_view pathExt) {
  if (upperExtension.size() < 2) return false;
  for (const std::string_view t : kProgramTypes) {
    if (t == upperExtension) return true;
  }
  while (!pathExt.empty()) {
    const std::size_t end = pathExt.find(';');
    const std::string_view item = TrimBlanks(pathExt.substr(0, end));
    if (item.size() == upperExtension.size()) {
      bool same = true;
      for (std::size_t i = 0; i < item.size() && same; ++i) same = UpperAscii(item[i]) == upperExtension[i];
      if (same) return true;
    }
    if (end == std::string_view::npos) break;
    pathExt.remove_prefix(end + 1);
  }
  return false;
}

ShellText ClassifyShellText(std::wstring_view text) {
  const auto isLetter = [](wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); };
  const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  for (const wchar_t c : text) {
    if (c < 0x20 || c == 0x7F) return ShellText::Refused;
  }
  if (text.starts_with(L"http://") || text.starts_with(L"https://")) return ShellText::WebAddress;

  // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":"; one letter is a drive.
  std::size_t scheme = 0;
  if (!text.empty() && isLetter(text[0])) {
    scheme = 1;
    while (scheme < text.size() && (isLetter(text[scheme]) || (text[scheme] >= L'0' && text[scheme] <= L'9') ||
                                    text[scheme] == L'+' || text[scheme] == L'-' || text[scheme] == L'.')) {
      ++scheme;
    }
  }
  if (scheme >= 2 && scheme < text.size() && text[scheme] == L':') {
    const std::wstring_view name = text.substr(0, scheme);
    const bool file = name.size() == 4 && (name[0] | 0x20) == L'f' && (name[1] | 0x20) == L'i' &&
                      (name[2] | 0x20) == L'l' && (name[3] | 0x20) == L'e';
    return file ? ShellText::FileUrl : ShellText::OtherScheme;
  }

  // "%NAME%" is replaced by the variable's value, which may name any program.
  for (std::size_t open = text.find(L'%'); open != std::wstring_view::npos;) {
    const std::size_t close = text.find(L'%', open + 1);
    if (close == std::wstring_view::npos) break;
    if (close > open + 1) return ShellText::Program;
    open = close;
  }

  const bool drive = text.size() >= 2 && isLetter(text[0]) && text[1] == L':';
  std::size_t nameStart = drive ? 2 : 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isSeparator(text[i])) nameStart = i + 1;
  }
  // "file:stream" opens the stream's file ("marker.exe::$DATA" is marker.exe itself).
  if (text.find(L':', nameStart) != std::wstring_view::npos) return ShellText::Program;
  const bool fromRoot = (drive && text.size() >= 3 && isSeparator(text[2])) ||
                        (text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1]));
  return fromRoot ? ShellText::Path : ShellText::RelativePath;
}

std::string UrlStartText(std::string_view attachment) {
  return IsWebAddress(attachment) ? std::string(attachment) : std::string("http://");
}

UrlRound UrlInputRound(std::string_view start, bool ok, std::string_view typed, bool lossless) {
  UrlRound r;
  if (!ok) {
    r.taken = std::string(start);
    return r;
  }
  // A pasted address often brings a blank or a line break at its end; the task file keeps no
  // surrounding blanks anyway.
  const std::string_view text = TrimBlanks(typed);
  const auto again = [&r](const char* message) {
    r.showAgain = true;
    r.message = message;
    return r;
  };
  if (!IsWebAddress(text)) return again("“http://”または“https://”で始まるURLを入力してください。");
  if (!lossless) return again("URLに予定表へ保存できない文字が含まれています。");
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharBytes(text, i);
    const auto b = static_cast<unsigned char>(text[i]);
    if (n == 1 && (b < 0x20 || b == 0x7F)) return again("URLに改行などの制御文字は使えません。");
    // "|" would end the task file's field; "%7C" means the same in an address.
    if (n == 1 && b == '|') {
      r.taken += "%7C";
    } else {
      r.taken.append(text.substr(i, n));
    }
    i += n;
  }
  return r;
}

}  // namespace lq
