#include "platform/shellfiles.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <vector>

#include "platform/codepage.h"
#include "platform/com.h"
#include "platform/handles.h"
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

// A function of shlwapi.dll, loaded when first needed (the program starts without it).
template <typename Fn>
Fn ShellLightweight(const char* name) {
  static const HMODULE shlwapi = ::LoadLibraryW(L"shlwapi.dll");
  return shlwapi ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(shlwapi, name))) : nullptr;
}

// The shell's own list of dangerous file types, where the system has one.
bool ShellCallsDangerous(const std::wstring& extension) {
  using AssocIsDangerousFn = BOOL(WINAPI*)(PCWSTR);
  static const auto fn = ShellLightweight<AssocIsDangerousFn>("AssocIsDangerous");
  return fn && fn(extension.c_str());
}

// The path a file: URL names, as the shell reads it ("%2E" is "."); empty when none.
std::wstring PathFromFileUrl(const std::wstring& url) {
  using PathCreateFromUrlFn = HRESULT(WINAPI*)(PCWSTR, PWSTR, DWORD*, DWORD);
  static const auto fn = ShellLightweight<PathCreateFromUrlFn>("PathCreateFromUrlW");
  if (!fn) return {};
  std::vector<wchar_t> path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (FAILED(fn(url.c_str(), path.data(), &size, 0))) return {};
  return path.data();
}

std::string PathExt() {
  const DWORD n = ::GetEnvironmentVariableW(L"PATHEXT", nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  value.resize(::GetEnvironmentVariableW(L"PATHEXT", value.data(), n));
  return ToCp932(value).bytes;
}

bool IsProgramType(const std::string& extension) {
  return !extension.empty() && (IsProgramExtension(extension, PathExt()) || ShellCallsDangerous(FromCp932(extension)));
}

// Windows runs a file that begins with the program header whatever it is called, when it is
// given to it as a program; some shells do that with any file they open.
bool BeginsWithProgramHeader(const std::wstring& path) {
  const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char head[2] = {};
  DWORD read = 0;
  return file.Get() != INVALID_HANDLE_VALUE && ::ReadFile(file.Get(), head, 2, &read, nullptr) && read == 2 &&
         head[0] == 'M' && head[1] == 'Z';
}

// Whether the shell, finding no such file, would add an extension and start a program: the
// name with a program's extension (or a shortcut's) is there.
bool CompletesToProgram(const std::wstring& path) {
  std::wstring name = path;
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  if (name.empty() || IsSeparator(name.back())) return false;
  WIN32_FIND_DATAW found{};
  const HANDLE find =
      ::FindFirstFileExW((name + L".*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool program = false;
  do {
    const std::string extension = UpperExtension(ToCp932(found.cFileName).bytes);
    program = extension == ".LNK" || IsProgramType(extension);
  } while (!program && ::FindNextFileW(find, &found));
  ::FindClose(find);
  return program;
}

// Whether opening the text (not a web address) starts a program: by the file it names as it
// stands, or, when there is none, by the file the shell would complete it to.
bool JudgedAsProgram(HWND owner, const std::wstring& text, int linksFollowed) {
  std::wstring path = text;
  ShellText kind = ClassifyShellText(path);
  if (kind == ShellText::FileUrl) {
    path = PathFromFileUrl(text);
    kind = path.empty() ? ShellText::Program : ClassifyShellText(path);
  }
  // A relative name is also looked for in the program's folder, the system's and the PATH.
  if (kind != ShellText::Path) return true;
  const std::string extension = UpperExtension(ToCp932(path).bytes);
  if (extension == ".LNK") {
    if (linksFollowed > 0) return true;
    const std::wstring target = ResolveShortcut(owner, path);
    return target.empty() || JudgedAsProgram(owner, target, linksFollowed + 1);
  }
  if (IsExistingFolder(path)) return false;
  if (IsProgramType(extension)) return true;
  if (IsExistingFile(path)) return BeginsWithProgramHeader(path);
  return CompletesToProgram(path);
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

OpenJudgement JudgeOpen(HWND owner, const std::wstring& text) {
  switch (ClassifyShellText(text)) {
    case ShellText::Refused:
      return OpenJudgement::Refused;
    case ShellText::WebAddress:
      return OpenJudgement::WebAddress;
    case ShellText::OtherScheme:
      return OpenJudgement::OtherScheme;
    default:
      return JudgedAsProgram(owner, text, 0) ? OpenJudgement::Program : OpenJudgement::Document;
  }
}

void OpenInShell(HWND owner, const std::wstring& text, OpenJudgement judged) {
  // The shell's result is not looked at: it reports its own failures, if any.
  if (judged != OpenJudgement::WebAddress) {
    ::ShellExecuteW(owner, L"open", text.c_str(), L"", L"", SW_SHOWNORMAL);
    return;
  }
  // Through the association of the address's scheme, so that no shell looks for its text as a
  // file first (Wine's runs "http://x/../../a/b.exe" as a relative path). A quotation mark
  // would end the address on the browser's command line; "%22" means the same in an address.
  std::wstring address;
  for (const wchar_t c : text) {
    if (c == L'"') {
      address += L"%22";
    } else {
      address += c;
    }
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_CLASSNAME;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = address.c_str();
  info.lpParameters = L"";
  info.lpDirectory = L"";
  info.nShow = SW_SHOWNORMAL;
  info.lpClass = text.starts_with(L"https://") ? L"https" : L"http";
  ::ShellExecuteExW(&info);
}

}  // namespace lq::win
