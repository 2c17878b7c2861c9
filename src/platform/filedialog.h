#pragma once
// The common dialog that chooses one existing file.

#include <windows.h>

#include <optional>
#include <string>

namespace lq::win {

struct OpenFileRequest {
  const wchar_t* filter = L"すべてのファイル\0*.*\0";  // pairs of name and pattern, ending in an empty one
  std::wstring folder;                                // where it opens; empty: where it last was
  std::wstring name;                                  // the file name shown chosen at first
  const wchar_t* defaultExtension = nullptr;
};

struct OpenFileAnswer {
  std::optional<std::wstring> path;  // the chosen file; none when cancelled or failed
  bool failed = false;               // the dialog could not show (for instance, a name it refused)
};

OpenFileAnswer ChooseFileToOpen(HWND owner, const OpenFileRequest& request);

}  // namespace lq::win
