#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include "platform/trayicon.h"

namespace lq::win {
namespace {

// Whether the notification area holds an icon, asked as any program may ask it.
bool IconThere(HWND owner, UINT id) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  nid.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

TEST(TrayIcon, ComesBackAfterTheTaskbarForgotItAndIsRemovedOnce) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  {
    TrayIcon tray;
    ASSERT_TRUE(tray.Add(owner, 7, WM_USER + 100, icon, L"Tarnwillow"));
    ASSERT_TRUE(IconThere(owner, 7));

    // The taskbar was only re-made and still shows the icon: it stays ours.
    EXPECT_TRUE(tray.Restore());
    EXPECT_TRUE(tray.Added());

    // Explorer started again without it.
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = 7;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
    ASSERT_FALSE(IconThere(owner, 7));
    EXPECT_TRUE(tray.Restore());
    EXPECT_TRUE(IconThere(owner, 7));

    tray.Remove();
    EXPECT_FALSE(IconThere(owner, 7));
    EXPECT_FALSE(tray.Restore());  // removed on purpose: the taskbar's message brings nothing back
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace lq::win
