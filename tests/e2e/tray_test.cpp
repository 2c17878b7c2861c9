// The ways to a window without a taskbar button: the tray icon's clicks and its menu (also on
// the header's menu button and the view image), top-most, the two hot keys pressed with real
// keys, a second start, and the icon coming back when the taskbar is made again.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>

#include "commands/commandtable.h"
#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using namespace automation;
using Tray = App;
using HotKeys = App;

bool Shown(HWND w) { return IsWindowVisible(w) != FALSE; }

// Whether the notification area holds the program's icon, asked as any program may ask.
bool IconThere(HWND window) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = window;
  nid.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

// The program's topmost visible window of a class: "#32768" an open menu, "#32770" a dialog.
HWND VisibleOfClass(const Session& r, const wchar_t* cls) {
  const std::vector<HWND> windows = VisibleWindows(r.program, cls);
  return windows.empty() ? nullptr : windows.front();
}

HWND WaitForMenu(const Session& r) {
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = VisibleOfClass(r, L"#32768")) != nullptr; });
  return menu;
}

bool TopMost(HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

const std::string kHotKeysOn = "[HotKey]\r\nEnabled=1\r\n";

TEST_F(Tray, LeftClicksHideAndShowARightClickShowsAndOpensTheMenuAtTheCursor) {
  Session& r = Start();
  TrayMouse(r.window, WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return !Shown(r.window); }));
  TrayMouse(r.window, WM_LBUTTONUP);  // only the press counts
  TrayMouse(r.window, WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return Shown(r.window); }));
  TrayMouse(r.window, WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return !Shown(r.window); }));

  const POINT cursor{400, 300};
  MoveMouse(cursor);
  TrayMouse(r.window, WM_RBUTTONUP);
  const HWND menu = WaitForMenu(r);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Shown(r.window));
  // Under Wine the menu may be seen visible a moment before it stands where it opened.
  RECT rc{};
  WaitUntil([&] { return GetWindowRect(menu, &rc) && rc.left == cursor.x && rc.top == cursor.y; }, std::chrono::seconds(1));
  EXPECT_EQ(rc.left, cursor.x);
  EXPECT_EQ(rc.top, cursor.y);
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return VisibleOfClass(r, L"#32768") == nullptr; }));
  EXPECT_TRUE(Shown(r.window));
}

// A quick right-click on the icon gives the notification area the focus, and under Wine the list
// may learn that only once its menu is open: the menu is cancelled, no other program active. It
// opens again; the user's own closing is final.
TEST_F(Tray, AMenuCancelledByTheIconsOwnClickOpensAgain) {
  Session& r = Start();
  TrayMouse(r.window, WM_RBUTTONUP);
  const HWND menu = WaitForMenu(r);
  ASSERT_NE(menu, nullptr);
  SendMessageW(r.window, WM_CANCELMODE, 0, 0);  // as Wine's X11 driver sends it for the lost focus
  HWND again = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (again = VisibleOfClass(r, L"#32768")) != nullptr && again != menu; }));
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return VisibleOfClass(r, L"#32768") == nullptr; }));
  EXPECT_TRUE(IsWindowVisible(r.window));
}

TEST_F(Tray, HidingEndsTheOpenEditorWithItsSort) {
  Tasks({TaskLine(1, false, "b"), TaskLine(1, false, "c")});
  Session& r = Start();
  ASSERT_TRUE(WaitUntil([&] { return (r.Editors() & kTextEditorFocused) != 0; }));
  Type(L"z");  // over the selected "b": the row now belongs after "c"
  ASSERT_EQ(r.program.Cell(2, 1), "z");
  TrayMouse(r.window, WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return !Shown(r.window); }));
  EXPECT_EQ(r.program.Cell(2, 1), "c");
  EXPECT_EQ(r.program.Cell(2, 2), "z");
}

TEST_F(Tray, TheMenuButtonAndTheViewImageOpenTheMenuAndItsExitSaves) {
  Tasks({TaskLine(1, false, "  trimmed on save  ")});
  Session& r = Start();
  // The header's last button opens the menu at its lower left corner.
  const RECT grid = r.program.GridScreenRect();
  const POINT button{grid.right - 10, grid.top + 8};
  Click(button);
  HWND menu = WaitForMenu(r);
  ASSERT_NE(menu, nullptr);
  RECT rc{};
  GetWindowRect(menu, &rc);
  EXPECT_LE(std::abs(rc.top - (grid.top + 16)), 4) << rc.top;
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return VisibleOfClass(r, L"#32768") == nullptr; }));

  // In view mode the picture of the list has it as its context menu; Up from nothing chosen
  // is the last item, 終了.
  ASSERT_TRUE(r.ToViewMode());
  const POINT onImage = r.program.CellCentre(2, 1);
  Click(onImage, true);
  menu = WaitForMenu(r);
  ASSERT_NE(menu, nullptr);
  GetWindowRect(menu, &rc);
  EXPECT_EQ(rc.left, onImage.x);
  Press(VK_UP);
  Press(VK_RETURN);
  ASSERT_TRUE(r.program.WaitForExit(std::chrono::seconds(10)).has_value());
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "trimmed on save")}));
}

TEST_F(Tray, TopMostIsToggledAndWrittenAtOnce) {
  Session& r = Start();
  ASSERT_TRUE(TopMost(r.window));
  ChooseFromTray(r.window, Command::TopMost);
  ASSERT_TRUE(WaitUntil([&] { return !TopMost(r.window); }));
  // The window changes first, the file right after.
  EXPECT_TRUE(WaitUntil([&] { return IniValue(s, "View", "TopMost") == "0"; }));
  ChooseFromTray(r.window, Command::TopMost);
  ASSERT_TRUE(WaitUntil([&] { return TopMost(r.window); }));
  EXPECT_TRUE(WaitUntil([&] { return IniValue(s, "View", "TopMost") == "1"; }));
}

TEST_F(Tray, EditFromTheMenuLeavesTheListReadyForTyping) {
  Tasks({TaskLine(1, false, "one"), TaskLine(2, false, "two")});
  Session& r = Start();
  ASSERT_TRUE(r.ToViewMode());
  MoveMouse(POINT{5, 5});  // the choice is made away from the list
  ChooseFromTray(r.window, Command::Edit);
  ASSERT_TRUE(WaitUntil([&] { return r.program.Query(kEditMode) == 1; }));
  Foreground(r.window);
  Press('X');  // the first key opens the text editor
  EXPECT_TRUE(WaitUntil([&] { return (r.Editors() & kTextEditorShown) != 0; }));
}

TEST_F(Tray, WithADialogOpenTheIconAndTheHotKeysOnlyBringItForward) {
  Settings(kHotKeysOn);
  Session& r = Start();
  // 設定 from the tray menu, chosen with the keyboard: Up, Up from nothing chosen.
  TrayMouse(r.window, WM_RBUTTONUP);
  ASSERT_NE(WaitForMenu(r), nullptr);
  Press(VK_UP);
  Press(VK_UP);
  Press(VK_RETURN);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = VisibleOfClass(r, L"#32770")) != nullptr; }));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));

  Foreground(ForeignWindow());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == ForeignWindow(); }));
  TrayMouse(r.window, WM_LBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
  Foreground(ForeignWindow());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == ForeignWindow(); }));
  Chord({VK_CONTROL, VK_MENU, VK_DOWN});
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
  Chord({VK_CONTROL, VK_MENU, VK_UP});
  EXPECT_FALSE(Shown(r.window));

  // Nothing else happened: キャンセル brings the list back, not hidden.
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return Shown(r.window) && !VisibleOfClass(r, L"#32770"); }));
}

TEST_F(Tray, TheEndOfTheSessionSavesTheListAndEndsAnEndCalledOffDoesNothing) {
  Tasks({TaskLine(1, false, "  trimmed on save  ")});
  Session& r = Start();
  // As Windows asks: every program may refuse first, then hears whether the session ends.
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(r.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(SendMessageTimeoutW(r.window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
  EXPECT_TRUE(r.program.Running());
  EXPECT_TRUE(Shown(r.window));

  SendMessageTimeoutW(r.window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer);
  ASSERT_TRUE(r.program.WaitForExit(std::chrono::seconds(10)).has_value());
  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32, TaskLine(1, false, "trimmed on save")}));
  EXPECT_TRUE(IniValue(s, "WinPosition", "Width").has_value());
}

TEST_F(HotKeys, RealKeysHideShowAndActivateFromAnotherProgram) {
  Settings(kHotKeysOn);
  Tasks({TaskLine(1, false, "one")});
  Session& r = Start();
  ASSERT_TRUE(r.ToViewMode());

  Chord({VK_CONTROL, VK_MENU, VK_DOWN});
  ASSERT_TRUE(WaitUntil([&] { return !Shown(r.window); }));
  Chord({VK_CONTROL, VK_MENU, VK_DOWN});  // back, in front, still in view mode
  ASSERT_TRUE(WaitUntil([&] { return Shown(r.window) && GetForegroundWindow() == r.window; }));
  EXPECT_EQ(r.program.Query(kEditMode), 0);
  EXPECT_NE(FocusOf(r.window), nullptr);  // the keys go somewhere

  Chord({VK_CONTROL, VK_MENU, VK_DOWN});
  ASSERT_TRUE(WaitUntil([&] { return !Shown(r.window); }));
  Chord({VK_CONTROL, VK_MENU, VK_UP});  // back, in front, typing into the current task
  ASSERT_TRUE(WaitUntil([&] {
    return Shown(r.window) && GetForegroundWindow() == r.window && (r.Editors() & kTextEditorFocused) != 0;
  }));
  EXPECT_EQ(r.program.Query(kEditMode), 1);
}

TEST_F(HotKeys, AKeyTakenElsewhereAndAnUnreadableOneAreNamedInTheirMessages) {
  // Another program holds Ctrl+Alt+Up; the show/hide key is hand-edited into nonsense.
  const HWND other = ForeignWindow();
  ASSERT_TRUE(RegisterHotKey(other, 0x1234, MOD_CONTROL | MOD_ALT, VK_UP));
  Settings(kHotKeysOn + "ToVisible=PgDn\r\n");
  Session& r = Start(false);
  const auto first = r.program.WaitForMessageBox();
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->caption, L"情報");
  EXPECT_EQ(first->text,
            L"アクティブ化ホットキーの登録に失敗しました。\r\n他のアプリケーションと重ならないホットキーを指定してみてください。"
            L"\r\n\r\nホットキー: Ctrl+Alt+Up");
  Program::Answer(*first, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(first->hwnd); }));
  const auto second = r.program.WaitForMessageBox();
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->text, L"表示・非表示ホットキーの登録に失敗しました。\r\n「Ctrl+Alt+PgDn」はホットキーに使えません。設定画面で選び直してください。");
  Program::Answer(*second, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !r.program.HasMessageBox(); }));
  UnregisterHotKey(other, 0x1234);
}

TEST_F(Tray, ASecondStartShowsAWindowTheUserHid) {
  Session& first = Start();
  TrayMouse(first.window, WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return !Shown(first.window); }));
  Program second(s);
  ASSERT_TRUE(second.Start());
  const auto code = second.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  ASSERT_TRUE(WaitUntil([&] { return Shown(first.window) && GetForegroundWindow() == first.window; }));
  // Shown for good: a left click on the icon now hides it again rather than showing it.
  TrayMouse(first.window, WM_LBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return !Shown(first.window); }));
}

TEST_F(Tray, TheIconComesBackWhenTheTaskbarIsMadeAgain) {
  Session& r = Start(false);
  ASSERT_TRUE(WaitUntil([&] { return IconThere(r.window); }));
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = r.window;
  nid.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));  // what a restarting Explorer forgets
  ASSERT_FALSE(IconThere(r.window));
  PostMessageW(r.window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return IconThere(r.window); }));
}

}  // namespace
}  // namespace lq::e2e

