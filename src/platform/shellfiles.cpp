#include "platform/shellfiles.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <vector>

#include "platform/codepage.h"
#include "platform/com.h"
#include "store/attachment.h"

namespace lq::win {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Length of the drive ("C:" counts with its separator, 3) or of the share ("\\server\share");
// 0 for a path with neither.
std::size_t RootLength(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return 3;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t i = 2;
    while (i < path.size() && !IsSeparator(path[i])) ++i;  // the server
    if (i < path.size()) ++i;
    while (i < path.size() && !IsSeparator(path[i])) ++i;  // the share
    return i;
  }
  return 0;
}

std::wstring Upper(std::wstring text) {
  if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The folder holding a path: before its last separator, a drive's root keeping its own.
std::wstring Parent(const std::wstring& path) {
  std::size_t sep = path.size();
  while (sep > 0 && !IsSeparator(path[sep - 1])) --sep;
  if (sep == 0) return {};
  std::wstring parent = path.substr(0, sep - 1);
  if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
  return parent;
}

// Each folder of the path looked up in its parent for its own name; empty when one is missing.
std::wstring Rebuild(const std::wstring& path, std::size_t rootLength) {
  if (path.size() <= rootLength) return Upper(path);
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return {};
  ::FindClose(find);
  const std::wstring parent = Parent(path);
  std::wstring result = Rebuild(parent, rootLength);
  if (result.empty()) return {};
  if (!IsSeparator(result.back())) result += L'\\';
  return result + found.cFileName;
}

using AssocIsDangerousFn = BOOL(WINAPI*)(PCWSTR);

// The shell's own list of dangerous file types, where the system has one.
bool ShellCallsDangerous(const std::wstring& extension) {
  static const auto fn = [] {
    const HMODULE shlwapi = ::LoadLibraryW(L"shlwapi.dll");
    return shlwapi ? reinterpret_cast<AssocIsDangerousFn>(
                         reinterpret_cast<void*>(::GetProcAddress(shlwapi, "AssocIsDangerous")))
                   : nullptr;
  }();
  return fn && fn(extension.c_str());
}

std::string PathExt() {
  const DWORD n = ::GetEnvironmentVariableW(L"PATHEXT", nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  value.resize(::GetEnvironmentVariableW(L"PATHEXT", value.data(), n));
  return ToCp932(value).bytes;
}

bool JudgedAsProgram(HWND owner, const std::wstring& path, int linksFollowed) {
  const std::string extension = UpperExtension(ToCp932(path).bytes);
  if (extension == ".LNK") {
    if (linksFollowed > 0) return true;
    const std::wstring target = ResolveShortcut(owner, path);
    return target.empty() || JudgedAsProgram(owner, target, linksFollowed + 1);
  }
  if (extension.empty() || IsExistingFolder(path)) return false;
  return IsProgramExtension(extension, PathExt()) || ShellCallsDangerous(FromCp932(extension));
}

}  // namespace

std::wstring ResolveShortcut(HWND owner, const std::wstring& shortcut) {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) || FAILED(file->Load(shortcut.c_str(), STGM_READ)) ||
      FAILED(link->Resolve(owner, SLR_ANY_MATCH))) {
    return {};
  }
  // Longer than MAX_PATH is possible on current Windows. The path as stored, not its short
  // form: some shells make that through the ANSI code page, which loses what it cannot hold.
  // LongPathName rebuilds the names afterwards either way.
  std::vector<wchar_t> target(32768, L'\0');
  if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, 0) != S_OK) return {};
  const DWORD found = ::GetFileAttributesW(target.data());
  if (found != INVALID_FILE_ATTRIBUTES) return target.data();
  // Some shells give the path only through the ANSI code page ("?" for what it cannot hold);
  // the item list keeps the names whole.
  PIDLIST_ABSOLUTE items = nullptr;
  if (SUCCEEDED(link->GetIDList(&items)) && items) {
    std::vector<wchar_t> fromItems(32768, L'\0');
    const bool ok = ::SHGetPathFromIDListEx(items, fromItems.data(), static_cast<DWORD>(fromItems.size()), GPFIDL_DEFAULT);
    ::CoTaskMemFree(items);
    if (ok) return fromItems.data();
  }
  return target.data();
}

std::wstring LongPathName(const std::wstring& path) {
  if (!IsExistingFile(path)) return {};
  const std::wstring full = FullPathName(path);
  const std::size_t root = RootLength(full);
  if (root == 0) return {};
  return Rebuild(full, root);
}

std::wstring FullPathName(const std::wstring& path) {
  if (path.empty()) return {};
  const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return {};
  full.resize(written);
  return full;
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool OpensAsProgram(HWND owner, const std::wstring& path) { return JudgedAsProgram(owner, path, 0); }

}  // namespace lq::win
