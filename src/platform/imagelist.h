#pragma once
// The main window's image list and the program icon, made from the artwork (src/res) at start-up.

#include <windows.h>

#include <commctrl.h>

#include "platform/handles.h"
#include "res/artwork.h"

namespace lq::win {

// The images in the order of lq::ImageIndex, `size` pixels square (the 16 x 16 artwork
// scaled without blending for other DPIs): 32-bit colour with alpha plus a
// mask, so ImageList_Draw with ILD_NORMAL or ILD_TRANSPARENT gives the same picture with
// common controls 6 (which blends the alpha) and without them (which uses the mask). The
// caller owns the list; nullptr when it could not be made.
HIMAGELIST CreateMainImageList(int size = kImageSize);

// One image of the list as a 32-bit premultiplied bitmap, for menu items; the caller owns it.
HBITMAP CreateMenuBitmap(int index, int size = kImageSize);

// The program icon at 16, 32 or 48 pixels, 32-bit with alpha and a mask; the caller owns it.
// nullptr for any other size or when it could not be made.
HICON CreateProgramIcon(int size);


}  // namespace lq::win
