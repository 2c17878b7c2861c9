#include "mainwindow/imagelist.h"

namespace lq::win {
HIMAGELIST CreateMainImageList() { return ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 19, 0); }
HICON CreateProgramIcon(int) { return ::LoadIconW(nullptr, IDI_APPLICATION); }
}  // namespace lq::win
