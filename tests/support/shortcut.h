#pragma once
// A shell shortcut (.lnk) to a file or folder, as Explorer makes one; COM must be entered on
// the calling thread.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace lq::testing {

inline bool MakeShortcut(const std::wstring& link, const std::wstring& target) {
  IShellLinkW* shellLink = nullptr;
  IPersistFile* file = nullptr;
  const bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&shellLink))) &&
                  SUCCEEDED(shellLink->SetPath(target.c_str())) &&
                  SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                  SUCCEEDED(file->Save(link.c_str(), TRUE));
  if (file) file->Release();
  if (shellLink) shellLink->Release();
  return ok;
}

}  // namespace lq::testing
