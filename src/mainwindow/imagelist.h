#pragma once
#include <windows.h>
#include <commctrl.h>

namespace lq::win {
HIMAGELIST CreateMainImageList();
HICON CreateProgramIcon(int size);
}  // namespace lq::win
