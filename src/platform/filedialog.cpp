#include "platform/filedialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace lq::win {

OpenFileAnswer ChooseFileToOpen(HWND owner, const OpenFileRequest& request) {
  std::vector<wchar_t> file(32768, L'\0');
  request.name.copy(file.data(), std::min(request.name.size(), file.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = request.filter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = request.folder.empty() ? nullptr : request.folder.c_str();
  ofn.lpstrDefExt = request.defaultExtension;
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
              OFN_FILEMUSTEXIST;
  OpenFileAnswer answer;
  if (::GetOpenFileNameW(&ofn)) {
    answer.path = std::wstring(file.data());
  } else {
    answer.failed = ::CommDlgExtendedError() != 0;
  }
  return answer;
}

}  // namespace lq::win
