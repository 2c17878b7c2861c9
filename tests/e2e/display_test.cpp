// The window at another display scale, and after the screen changed under it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "driver.h"
#include "mainwindow/automation.h"

namespace lq::e2e {
namespace {

using Display = App;

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The system DPI programs started meanwhile see (Wine reads it when a process starts; Windows
// only at sign-in). 96 comes back for the other tests.
struct SystemDpiSetting {
  explicit SystemDpiSetting(DWORD dpi) { Set(dpi); }
  ~SystemDpiSetting() { Set(96); }
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
};

TEST_F(Display, FirstStartAtTheSystemScaleIsLaidOutAtThatScale) {
  if (!UnderWine()) GTEST_SKIP() << "the system DPI changes only at sign-in on Windows";
  struct Scale {
    DWORD dpi;
    int width, height;  // 360 x 215 scaled; the height then snapped to the same 11 rows
    int row, buttonWidth, buttonHeight;
  };
  const Scale scales[] = {{96, 360, 215, 16, 18, 16}, {144, 540, 315, 24, 27, 24}};
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  int clockHeightAt96 = 0;
  for (const Scale& scale : scales) {
    SCOPED_TRACE(scale.dpi);
    const SystemDpiSetting setting(scale.dpi);
    NextCase();
    Tasks({TaskLine(-1, false, "overdue"), TaskLine(0, false, "today"), TaskLine(5, false, "this week"),
           TaskLine(9, false, "later")});
    Session& r = Start(false);
    ASSERT_NE(r.window, nullptr);
    const RECT rc = r.program.WindowRect();
    EXPECT_EQ(rc.right - rc.left, scale.width);
    EXPECT_EQ(rc.bottom - rc.top, scale.height);
    EXPECT_EQ(rc.left, (sw - scale.width) / 2);
    EXPECT_EQ(rc.top, (sh - (scale.width == 360 ? 215 : 323)) / 2);  // centred before the snap
    EXPECT_EQ(r.program.Query(automation::kMetrics), scale.row);
    EXPECT_EQ(r.program.Query(automation::kVisibleRows), 11);

    // The header buttons (named by their hints), within the window.
    const RECT button = ChildRect(r.window, L"Button", L"予定の追加");
    EXPECT_EQ(button.right - button.left, scale.buttonWidth);
    EXPECT_EQ(button.bottom - button.top, scale.buttonHeight);
    EXPECT_LE(ChildRect(r.window, L"Button", L"システムメニュー").right, rc.right);

    // Each urgency class at its row, the rows found by the scaled row height alone.
    const RECT grid = r.program.GridScreenRect();
    struct Row {
      int row;
      COLORREF colour;
    } rows[] = {{2, RGB(255, 187, 102)}, {3, RGB(255, 255, 170)}, {4, RGB(236, 236, 255)}};
    for (const Row& row : rows) {
      for (const int dy : {2, scale.row - 3}) {
        const POINT p{r.program.CellInside(0, row.row, 1).x, grid.top + row.row * (scale.row + 1) + dy};
        EXPECT_EQ(PixelWhenDrawn(p, row.colour), row.colour) << "row " << row.row << " +" << dy;
      }
    }

    // The clock grows with the header's font.
    const RECT clock = ChildRect(r.window, L"TLqLabel");
    const int clockHeight = clock.bottom - clock.top;
    if (scale.dpi == 96) {
      clockHeightAt96 = clockHeight;
    } else {
      EXPECT_GE(clockHeight * 10, clockHeightAt96 * 14) << clockHeight << " against " << clockHeightAt96;
    }
    Close();
    // The settings file keeps the pixels as they are.
    const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
    EXPECT_NE(ini.find("Width=" + std::to_string(scale.width)), std::string::npos) << ini;
  }
}

TEST_F(Display, AWindowLeftOffTheScreenComesBackWhenTheDisplayChanges) {
  // Where a monitor was removed: the window is off every screen that is left.
  Tasks({TaskLine(1, false, "a")});
  Session& r = Start(false);
  ASSERT_NE(r.window, nullptr);
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(r.window, nullptr, sw + 200, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(r.program.WindowRect().left, sw + 200);
  SendMessageW(r.window, WM_DISPLAYCHANGE, 32, MAKELPARAM(sw, sh));
  RECT rc = r.program.WindowRect();
  EXPECT_EQ(rc.left, (sw - (rc.right - rc.left)) / 2);  // centred on the axis it was off
  EXPECT_EQ(rc.top, 70);
  EXPECT_EQ(rc.bottom - rc.top, 215);
  // Below the work area after the task bar moved: the same through the work-area change.
  SetWindowPos(r.window, nullptr, 100, sh + 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(r.window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  rc = r.program.WindowRect();
  EXPECT_EQ(rc.left, 100);
  EXPECT_EQ(rc.top, (sh - 215) / 2);
  EXPECT_TRUE(IsWindowVisible(r.window));
}

}  // namespace
}  // namespace lq::e2e

namespace lq::e2e {
namespace {

// A hint window of the process; with `text`, a visible one showing it.
HWND FindTip(DWORD pid, const wchar_t* text = nullptr) {
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"tooltips_class32", nullptr)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    wchar_t shown[64]{};
    SendMessageW(w, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
    if (owner == pid && (!text || (IsWindowVisible(w) && lstrcmpW(shown, text) == 0))) return w;
  }
  return nullptr;
}

bool WaitForTip(DWORD pid, const wchar_t* text) {
  return WaitUntil([&] { return FindTip(pid, text) != nullptr; });
}

TEST_F(Display, TheHintsAreMadeOnTheFirstHoverAndNoneShowsOverAMenu) {
  Tasks({TaskLine(1, false, "a")});
  Session& r = Start();
  ASSERT_NE(r.window, nullptr);
  EXPECT_EQ(FindTip(r.program.ProcessId()), nullptr);  // none made at start-up
  const auto centre = [](const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; };
  MoveMouse(r.program.CellCentre(2, 3));
  MoveMouse(centre(ChildRect(r.window, L"Button", L"予定の追加")));
  EXPECT_TRUE(WaitForTip(r.program.ProcessId(), L"予定の追加"));
  MoveMouse(centre(ChildRect(r.window, L"Button", L"システムメニュー")));
  EXPECT_TRUE(WaitForTip(r.program.ProcessId(), L"システムメニュー"));
  MoveMouse(r.program.CellCentre(2, 1));
  ASSERT_TRUE(WaitUntil([&] { return FindTip(r.program.ProcessId(), L"システムメニュー") == nullptr; }));

  // A quick click on ▼: its hint, still waiting for its delay, stays away from the menu.
  Click(centre(ChildRect(r.window, L"Button", L"システムメニュー")));
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(menu); }));
  const UINT delay = static_cast<UINT>(SendMessageW(FindTip(r.program.ProcessId()), TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  EXPECT_FALSE(WaitUntil([&] { return FindTip(r.program.ProcessId(), L"システムメニュー") != nullptr; },
                         std::chrono::milliseconds(3 * delay + 500)));
  Press(VK_ESCAPE);

  // In view mode the still image says how to edit.
  ASSERT_TRUE(r.ToViewMode());
  MoveMouse(r.program.CellCentre(2, 2));
  EXPECT_TRUE(WaitForTip(r.program.ProcessId(), L"編集するにはダブルクリックします"));
}

}  // namespace
}  // namespace lq::e2e
