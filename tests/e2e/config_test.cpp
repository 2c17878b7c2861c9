// The settings dialog, opened as the tray menu's "設定" opens it: each page changed and OK, the
// main window following the file; キャンセル, the close box, the hot-key check, the number
// fields, the sound test and the start-up shortcut.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <thread>

#include "commands/commandtable.h"
#include "driver.h"
#include "mainwindow/automation.h"
#include "res/configids.h"
#include "tests/support/fulldisk.h"

namespace lq::e2e {
namespace {

using namespace automation;

HWND OpenSettings(const Session& r) { return OpenFromTray(r, Command::Config, L"設定"); }

struct FindControl {
  int id;
  HWND found;
};

// A control of the dialog, on whichever page it is.
HWND Ctl(HWND dialog, int id) {
  FindControl f{id, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* f = reinterpret_cast<FindControl*>(lParam);
        // Only controls of the dialog and its pages: a combo box's own parts have numbers too.
        wchar_t parent[32] = {};
        GetClassNameW(GetParent(hwnd), parent, 32);
        if (GetDlgCtrlID(hwnd) != f->id || lstrcmpW(parent, L"#32770") != 0) return TRUE;
        f->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::wstring TextOfControl(HWND hwnd) {
  wchar_t buf[1024] = {};
  SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
  return buf;
}

// Returns once the click is handled (posted, since a click may open a box).
void ClickButton(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(Handled());
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

int CurrentPage(HWND dialog) { return static_cast<int>(SendMessageW(Ctl(dialog, IDC_PGCONFIG), TCM_GETCURSEL, 0, 0)); }

// Turns the pages with Ctrl+Tab, as a keyboard user does.
void GoToPage(HWND dialog, int page) {
  Foreground(dialog);
  for (int i = 0; i < 6 && CurrentPage(dialog) != page; ++i) Chord({VK_CONTROL, VK_TAB});
  ASSERT_EQ(CurrentPage(dialog), page);
}

void SelectItem(HWND combo, const std::wstring& text) {
  const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_NE(index, CB_ERR);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// A message box over the settings dialog.
std::optional<MessageBoxInfo> WaitForBox(const Session& r, HWND settings) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = VisibleDialog(r.program, nullptr, settings)) != nullptr; })) return std::nullopt;
  WaitUntil([&] { return GetDlgItem(box, 0xFFFF) != nullptr; });
  MessageBoxInfo info;
  info.hwnd = box;
  info.caption = TextOfControl(box);
  info.text = TextOfControl(GetDlgItem(box, 0xFFFF));
  return info;
}

// Each group of radio buttons on the pages (a group runs from a control with WS_GROUP to the
// next) has exactly one checked: a setting shown by radio buttons always shows one choice.
void ExpectOneChoicePerRadioGroup(HWND dialog) {
  std::vector<HWND> pages;
  EnumChildWindows(
      dialog,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        wchar_t name[32] = {};
        GetClassNameW(hwnd, name, 32);
        if (lstrcmpW(name, L"#32770") == 0) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&pages));
  for (const HWND page : pages) {
    int radios = 0, checked = 0, first = 0;
    const auto endGroup = [&] {
      if (radios > 0) EXPECT_EQ(checked, 1) << "the group of radio buttons from control " << first;
      radios = checked = 0;
    };
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
      if (style & WS_GROUP) {
        endGroup();
        first = GetDlgCtrlID(c);
      }
      if ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
        ++radios;
        checked += IsChecked(c) ? 1 : 0;
      }
    }
    endGroup();
  }
}

bool MainWindowBack(const Session& r) { return IsWindowVisible(r.window) && !VisibleDialog(r.program, L"設定"); }

class Config : public App {
 protected:
  // Leaves the dialog with O K or キャンセル; the list comes back.
  void Leave(HWND d, int button) {
    ClickButton(Ctl(d, button));
    ASSERT_TRUE(WaitUntil([&] { return MainWindowBack(*session); }));
  }
  void TheStartupShortcutIsMadeAndRemoved(const std::filesystem::path& link);
};

TEST_F(Config, EachPageChangedAndOkReachesTheFileAndTheWindow) {
  Settings("[Sync]\r\nEnabled=1\r\n[View]\r\nLblCalendar=0\r\n");
  Tasks({TaskLine(0, false, "today"), TaskLine(9, false, "later")});
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(IsWindowVisible(r.window));  // hidden while the dialog is open

  // 不可視化: half transparent in edit mode, not top-most.
  ASSERT_EQ(CurrentPage(d), 0);
  SendMessageW(Ctl(d, IDC_TBAREDITMODE), TBM_SETPOS, TRUE, 50);
  ClickButton(Ctl(d, IDC_CHKTOPMOST));
  ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Ctl(d, IDC_CHKTOPMOST)); }));

  // 文字: the later tasks on a colour of our choosing; choosing that row moves the font panel up.
  GoToPage(d, 1);
  ClickButton(Ctl(d, IDC_RADPREVIEW3));
  RECT panel{}, fontPanel{};
  ASSERT_TRUE(WaitUntil([&] {
    GetWindowRect(Ctl(d, IDC_PNLPREVIEW3), &panel);
    GetWindowRect(Ctl(d, IDC_PNLFONT), &fontPanel);
    return fontPanel.bottom <= panel.top;
  }));
  ClickButton(Ctl(d, IDC_BTNBGCOLOR));
  HWND chooser = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (chooser = VisibleDialog(r.program, nullptr, d)) != nullptr; }));
  // The chooser's red, green and blue fields.
  SendMessageW(GetDlgItem(chooser, 706), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"10"));
  SendMessageW(GetDlgItem(chooser, 707), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"200"));
  SendMessageW(GetDlgItem(chooser, 708), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"30"));
  ClickButton(GetDlgItem(chooser, IDOK));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }));
  SelectItem(Ctl(d, IDC_CMBSIZE), L"12");

  // 表示: an absurd row height, and the clock back in the header.
  GoToPage(d, 2);
  SendMessageW(Ctl(d, IDC_EDTROWHEIGHT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"99"));
  ClickButton(Ctl(d, IDC_RADLBLCALENDAR2));

  // 予定 and 動作.
  GoToPage(d, 3);
  ClickButton(Ctl(d, IDC_RADSAVEONLOSTFOCUS));
  GoToPage(d, 4);
  SendMessageW(Ctl(d, IDC_EDTALARMWAV), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\ポ表\\鳴る.wav"));
  ClickButton(Ctl(d, IDC_CHKALARMLOOP));

  // 情報: the program's name and version.
  GoToPage(d, 5);
  EXPECT_EQ(TextOfControl(Ctl(d, IDC_LBLPRODUCTNAME)), L"Lindqvale");
  EXPECT_EQ(TextOfControl(Ctl(d, IDC_LBLVERSION)).rfind(L"version 1.", 0), 0u);

  Leave(d, IDOK);

  const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
  EXPECT_EQ(IniValue(ini, "Transparent", "EditMode"), "50");
  EXPECT_EQ(IniValue(ini, "View", "TopMost"), "0");
  EXPECT_EQ(IniValue(ini, "Font", "Preview3BGColor"), std::to_string(RGB(10, 200, 30)));
  EXPECT_EQ(IniValue(ini, "Font", "Preview3Size"), "12");
  EXPECT_EQ(IniValue(ini, "Font", "Preview2Size"), "9");
  EXPECT_EQ(IniValue(ini, "Font", "Preview3Name"), Sj("ＭＳ Ｐゴシック"));  // a new size keeps the font
  EXPECT_EQ(IniValue(ini, "View", "RowHeight"), "48");
  EXPECT_EQ(IniValue(ini, "View", "LblCalendar"), "2");
  EXPECT_EQ(IniValue(ini, "Settings", "SaveOnLostFocus"), "1");
  EXPECT_EQ(IniValue(ini, "Alarm", "Wav"), Sj("C:\\ポ表\\鳴る.wav"));
  EXPECT_EQ(IniValue(ini, "Alarm", "Loop"), "1");
  EXPECT_EQ(IniValue(ini, "Sync", "Enabled"), "1");  // no control shows it, yet it survives
  EXPECT_EQ(IniValue(ini, "Font", "Name"), std::nullopt);

  // The window read the file again.
  EXPECT_EQ(r.program.Query(kMetrics), 48);
  BYTE alpha = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(r.window, nullptr, &alpha, nullptr));
  EXPECT_EQ(alpha, 127);
  EXPECT_FALSE(GetWindowLongPtrW(r.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(WaitUntil([&] { return r.program.Cell(2, 0).find(':') != std::string::npos; }))
      << "the clock is shown again";
  // The later task (row 2; row 1 is current) on the chosen colour.
  EXPECT_EQ(ScreenPixel(r.program.CellInside(2, 2)), RGB(10, 200, 30));
  // The keyboard is back in the list's text editor.
  EXPECT_TRUE(WaitUntil([&] { return (r.Editors() & kTextEditorFocused) != 0; }));
}

// Every key the pages show, each away from its default, goes through the dialog and O K as it
// was: each control shows its own key, in both states, and gives back what it showed.
TEST_F(Config, OkWithoutAChangeWritesEveryKeyBackAsRead) {
  struct Key {
    const char *section, *name, *value;
  } keys[] = {
      {"Transparent", "EditMode", "30"},      {"Transparent", "ViewMode", "60"},
      {"Transparent", "EditNoTransparent", "1"}, {"Transparent", "ViewNoTransparent", "1"},
      {"View", "HideWhenOnMouse", "1"},       {"View", "HideWhenOnEdge", "0"},
      {"View", "TopMost", "0"},               {"View", "RowHeight", "20"},
      {"View", "DateFormat", "1"},            {"View", "ShowDateRow", "0"},
      {"View", "ShowCountRow", "0"},          {"View", "LblCalendar", "1"},
      {"Font", "Preview2Size", "12"},         {"Font", "PreviewDoneFGColor", "255"},
      {"Settings", "DoneDown", "0"},          {"Settings", "DateCursorTurn", "0"},
      {"Settings", "SaveOnLostFocus", "1"},   {"Settings", "FinishedDayChange", "0"},
      {"Settings", "IMEOnOff", "0"},          {"Hint", "Enabled", "0"},
      {"Hint", "Start", "1200"},              {"Hint", "Term", "4500"},
      {"Hint", "FullPath", "0"},              {"HotKey", "ModifyToActivate", "Shift+Alt"},
      {"HotKey", "ToActivate", "F5"},         {"HotKey", "ModifyToVisible", "Shift+Ctrl"},
      {"HotKey", "ToVisible", "BkSp"},        {"Alarm", "Wav", "C:\\ポ表\\鳴る.wav"},
      {"Alarm", "Loop", "1"},                 {"Sync", "Enabled", "1"},
  };
  std::string ini;
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    const std::string section = keys[i].section;
    if (i == 0 || section != keys[i - 1].section) ini += "[" + section + "]\r\n";
    ini += std::string(keys[i].name) + "=" + Sj(keys[i].value) + "\r\n";
  }
  Session& r = Start();
  HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  ExpectOneChoicePerRadioGroup(d);  // every default
  Leave(d, IDCANCEL);

  Settings(ini);
  d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  ExpectOneChoicePerRadioGroup(d);
  Leave(d, IDOK);
  const std::string written = s.Read(L"Lindqvale.ini").value_or("");
  for (const Key& k : keys) EXPECT_EQ(IniValue(written, k.section, k.name), Sj(k.value)) << k.section << "/" << k.name;
  EXPECT_EQ(IniValue(written, "HotKey", "Enabled"), "0");  // not in the file before: O K wrote
}

TEST_F(Config, CancelWritesNothingButTheFileIsReadAgain) {
  const std::string before = "[View]\r\nRowHeight=20\r\n";
  Settings(before);
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(TextOfControl(Ctl(d, IDC_EDTROWHEIGHT)), L"20");
  SendMessageW(Ctl(d, IDC_EDTROWHEIGHT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"30"));
  // Meanwhile somebody edits the file by hand.
  const std::string edited = "[View]\r\nRowHeight=24\r\n";
  Settings(edited);
  Leave(d, IDCANCEL);
  EXPECT_EQ(s.Read(L"Lindqvale.ini"), edited);
  EXPECT_EQ(r.program.Query(kMetrics), 24);
}

TEST_F(Config, TheCloseBoxWritesNothingAndReadsNothing) {
  Settings("[View]\r\nRowHeight=20\r\n");
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  Settings("[View]\r\nRowHeight=24\r\n");
  PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return MainWindowBack(r); }));
  EXPECT_EQ(r.program.Query(kMetrics), 20);
  EXPECT_EQ(s.Read(L"Lindqvale.ini"), "[View]\r\nRowHeight=24\r\n");
  // The keyboard goes back to the list.
  EXPECT_TRUE(WaitUntil([&] { return (r.Editors() & (kTextEditorFocused | kListFocused)) != 0; }));
}

TEST_F(Config, TheMainWindowIsCalledToTheCentreOfTheScreen) {
  Settings("[WinPosition]\r\nx=10\r\ny=20\r\n");
  Session& r = Start();
  ASSERT_EQ(r.program.WindowRect().left, 10);
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  ClickButton(Ctl(d, IDC_BTNFORCEWINDOWTOCENTER));
  PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return MainWindowBack(r); }));
  const RECT rc = r.program.WindowRect();
  EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2);
  EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2);
}

TEST_F(Config, IdenticalHotKeysAreRefusedOnTheBehaviourPage) {
  // Numbers a hand edit left outside what the controls hold.
  const std::string handEdited = "[View]\r\nRowHeight=500\r\nDateFormat=9\r\n";
  Settings(handEdited);
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  ClickButton(Ctl(d, IDC_CHKENABLEDHOTKEY));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Ctl(d, IDC_CMBHOTKEYTOVISIBLE)) != FALSE; }));
  SelectItem(Ctl(d, IDC_CMBHOTKEYTOVISIBLE), L"Up");  // the activation key is Ctrl+Alt+Up too
  ClickButton(Ctl(d, IDOK));
  const auto box = WaitForBox(r, d);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"情報");
  EXPECT_EQ(box->text, L"アクティブ化ホットキーと表示・非表示ホットキーの設定が同じです。");
  EXPECT_EQ(CurrentPage(d), 4);
  EXPECT_TRUE(IsWindowVisible(Ctl(d, IDC_CHKENABLEDHOTKEY)));
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !VisibleDialog(r.program, nullptr, d); }));
  EXPECT_TRUE(IsWindowVisible(d));
  EXPECT_EQ(s.Read(L"Lindqvale.ini"), handEdited);

  // Without hot keys the same keys are fine.
  ClickButton(Ctl(d, IDC_CHKENABLEDHOTKEY));
  ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Ctl(d, IDC_CHKENABLEDHOTKEY)); }));
  Leave(d, IDOK);
  const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
  EXPECT_EQ(IniValue(ini, "HotKey", "ToVisible"), "Up");
  EXPECT_EQ(IniValue(ini, "HotKey", "Enabled"), "0");
  EXPECT_EQ(IniValue(ini, "View", "RowHeight"), "48");  // shown clamped, written clamped
  EXPECT_EQ(IniValue(ini, "View", "DateFormat"), "0");  // no such choice: the first
}

TEST_F(Config, HotKeysTurnedOffAreFreedWhenTheListComesBack) {
  Settings("[HotKey]\r\nEnabled=1\r\n");
  Session& r = Start();
  const HWND other = ForeignWindow();
  EXPECT_FALSE(RegisterHotKey(other, 0x2345, MOD_CONTROL | MOD_ALT, VK_UP));  // the program's
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  ClickButton(Ctl(d, IDC_CHKENABLEDHOTKEY));
  ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Ctl(d, IDC_CHKENABLEDHOTKEY)); }));
  Leave(d, IDOK);
  EXPECT_TRUE(RegisterHotKey(other, 0x2345, MOD_CONTROL | MOD_ALT, VK_UP));
  EXPECT_TRUE(RegisterHotKey(other, 0x2346, MOD_CONTROL | MOD_ALT, VK_DOWN));
  UnregisterHotKey(other, 0x2345);
  UnregisterHotKey(other, 0x2346);
}

TEST_F(Config, NumberFieldsTakeDigitsAndKeepTheirRange) {
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  GoToPage(d, 2);
  const HWND field = Ctl(d, IDC_EDTROWHEIGHT);
  SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  ASSERT_TRUE(WaitUntil([&] { return GetFocus() == field || TextOfControl(field) == L"16"; }));
  Chord({VK_CONTROL, 'A'});
  Type(L"a1-b5x");
  EXPECT_EQ(TextOfControl(field), L"15");
  // A pasted text brings its digits only; too many for any row height give the largest.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    const wchar_t text[] = L"x99999999999999y";
    const HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(mem), text, sizeof text);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
  }
  Chord({VK_CONTROL, 'A'});
  Chord({VK_CONTROL, 'V'});
  EXPECT_EQ(TextOfControl(field), L"99999999999999");
  Press(VK_TAB);  // leaving the field keeps it in range
  EXPECT_TRUE(WaitUntil([&] { return TextOfControl(field) == L"48"; }));
  Chord({VK_CONTROL, 'Z'});
  Press(VK_TAB);
  Leave(d, IDCANCEL);
}

// Tab goes from the tab strip through the page shown to O K and キャンセル, and round again.
TEST_F(Config, TabGoesFromTheTabStripThroughThePageToOkAndCancel) {
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  Foreground(d);
  const HWND tab = Ctl(d, IDC_PGCONFIG);
  const HWND page = GetParent(Ctl(d, IDC_TBAREDITMODE));
  SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tab), TRUE);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(d) == tab; }));
  const struct {
    bool back;
    HWND to;  // null: a control of the page
  } steps[] = {{false, Ctl(d, IDC_TBAREDITMODE)}, {true, tab},   {true, Ctl(d, IDCANCEL)}, {true, Ctl(d, IDOK)},
               {true, nullptr},                   {false, Ctl(d, IDOK)}, {false, Ctl(d, IDCANCEL)}, {false, tab}};
  for (const auto& step : steps) {
    if (step.back) {
      Chord({VK_SHIFT, VK_TAB});
    } else {
      Press(VK_TAB);
    }
    const HWND focus = FocusOf(d);
    EXPECT_TRUE(step.to ? focus == step.to : IsChild(page, focus) != FALSE)
        << (step.back ? "Shift+Tab" : "Tab") << " went to control " << GetDlgCtrlID(focus);
  }
  Leave(d, IDCANCEL);
}

// Switched off with their check box, the hot-key lists take the colour of the hint fields.
TEST_F(Config, TheHotKeyListsLookSwitchedOffWithTheirCheckBox) {
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  GoToPage(d, 4);
  const HWND list = Ctl(d, IDC_CMBHOTKEYTOACTIVATE);  // "Up": its text leaves the right half bare
  ASSERT_FALSE(IsWindowEnabled(list));
  RECT rc{};
  GetWindowRect(list, &rc);
  const POINT bare{rc.left + (rc.right - rc.left) * 3 / 5, (rc.top + rc.bottom) / 2};
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(bare) == GetSysColor(COLOR_INACTIVEBORDER); }))
      << std::hex << ScreenPixel(bare) << " " << GetSysColor(COLOR_INACTIVEBORDER);
  ClickButton(Ctl(d, IDC_CHKENABLEDHOTKEY));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(list) != FALSE; }));
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(bare) == GetSysColor(COLOR_WINDOW); }));
  Leave(d, IDCANCEL);
}

TEST_F(Config, TheSoundTestNamesAMissingFile) {
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  // By default the sound beside the program.
  EXPECT_EQ(TextOfControl(Ctl(d, IDC_EDTALARMWAV)), (s.Folder() / L"Tarnwillow.wav").wstring());
  const std::wstring missing = (s.Folder() / L"ポ表" / L"無い.wav").wstring();
  SendMessageW(Ctl(d, IDC_EDTALARMWAV), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(missing.c_str()));
  ClickButton(Ctl(d, IDC_BTNALARMWAVTEST));
  const auto box = WaitForBox(r, d);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"ファイル " + missing + L"が見つかりません。");
  Program::Answer(*box, IDOK);
  Leave(d, IDCANCEL);
}

// However the program is stopped during O K, the settings file is the old one or the new one,
// never empty or cut; what a stopped write left beside it goes with the next one.
TEST_F(Config, OkKilledAtAnyMomentLeavesTheSettingsFileWhole) {
  // A long file of somebody's notes, so that each write takes its time.
  std::string notes = "[Notes]\r\n";
  for (int i = 0; i < 2000; ++i) notes += "Note" + std::to_string(i) + "=" + std::string(40, 'n') + "\r\n";
  Settings(notes);

  // Turns 常に最前面に表示 over, so that each O K changes the file, and presses O K; the program
  // is stopped after `killAfter`, or else once O K has ended. Gives the time O K took.
  using Clock = std::chrono::steady_clock;
  const auto ok = [&](std::optional<Clock::duration> killAfter) {
    Session& r = Start(false);
    const HWND d = OpenSettings(r);
    EXPECT_NE(d, nullptr);
    if (!d) return Clock::duration{};
    const bool wasChecked = IsChecked(Ctl(d, IDC_CHKTOPMOST));
    ClickButton(Ctl(d, IDC_CHKTOPMOST));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(Ctl(d, IDC_CHKTOPMOST)) != wasChecked; }));
    const auto start = Clock::now();
    PostMessageW(Ctl(d, IDOK), BM_CLICK, 0, 0);
    if (killAfter) {
      std::this_thread::sleep_for(*killAfter);
    } else {
      while (IsWindowVisible(d) && Clock::now() - start < std::chrono::seconds(20)) Sleep(1);
    }
    const auto took = Clock::now() - start;
    r.program.Kill();
    return took;
  };
  // The first O K writes every key; the second, like those stopped below, sets the kills' spread.
  ok(std::nullopt);
  const auto took = ok(std::nullopt);
  const std::string written = s.Read(L"Lindqvale.ini").value_or("");
  ASSERT_NE(written.find(notes), std::string::npos);
  ASSERT_NE(written.find("TopMost=1\r\n"), std::string::npos);
  const auto withTopMost = [&](char value) {
    std::string file = written;
    file[file.find("TopMost=1\r\n") + 8] = value;
    return file;
  };

  constexpr int kKills = 20;
  for (int i = 0; i < kKills; ++i) {
    const auto delay = took * 5 / 4 * i / (kKills - 1);
    SCOPED_TRACE("stopped " + std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(delay).count()) +
                 " us after O K, which took " +
                 std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(took).count()) + " us");
    ok(delay);
    const std::string after = s.Read(L"Lindqvale.ini").value_or("<missing>");
    ASSERT_TRUE(after == withTopMost('0') || after == withTopMost('1')) << after.size() << " bytes:\n"
                                                                        << after.substr(0, 300);
  }

  ok(std::nullopt);
  for (const auto& entry : std::filesystem::directory_iterator(s.Folder())) {
    EXPECT_EQ(entry.path().filename().wstring().find(L".ini.~"), std::wstring::npos) << entry.path();
  }
}

// A full disk during O K: the write is refused with the file's name, the file stays as it was
// and the dialog open; with room again O K goes through.
TEST_F(Config, OkOnAFullDiskSaysSoAndKeepsTheFile) {
  const auto drive = testing::FullDiskDrive();
  if (!drive) GTEST_SKIP() << "no drive of its own to fill (LQ_FULL_DISK)";
  s.Renew(*drive);
  // Nearly a page: O K's keys take the file past it.
  const std::string before = "[Notes]\r\nPad=" + std::string(3900, 'x') + "\r\n";
  Settings(before);
  Session& r = Start(false);
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  {
    const testing::FillDisk full(s.Folder());
    ASSERT_TRUE(full.Full());
    ClickButton(Ctl(d, IDOK));
    const auto box = WaitForBox(r, d);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"エラー");
    EXPECT_EQ(box->text, s.SettingsFile().wstring() + L" に書き込めません");
    Program::Answer(*box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !VisibleDialog(r.program, nullptr, d); }));
    EXPECT_TRUE(IsWindowVisible(d));
    EXPECT_EQ(s.Read(L"Lindqvale.ini"), before);
  }
  Leave(d, IDOK);
  EXPECT_EQ(IniValue(s, "Transparent", "ViewMode"), "25");
  EXPECT_EQ(IniValue(s, "Notes", "Pad"), std::string(3900, 'x'));
}

std::filesystem::path StartupFolderOfTheUser() {
  wchar_t buffer[MAX_PATH] = {};
  DWORD bytes = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   L"Startup", RRF_RT_REG_SZ, nullptr, buffer, &bytes) == ERROR_SUCCESS) {
    return buffer;
  }
  PWSTR known = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &known))) folder = known;
  CoTaskMemFree(known);
  return folder;
}

std::optional<std::string> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A start-up shortcut of that name that the user has of their own goes aside while a test makes
// and removes the program's, and comes back as it was.
class UsersOwnShortcut {
 public:
  explicit UsersOwnShortcut(std::filesystem::path link) : link_(std::move(link)) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    aside_ = std::filesystem::path(temp) / (L"lq-e2e-users-own-" + std::to_wstring(GetCurrentProcessId()) + L".lnk");
    had_ = MoveFileExW(link_.c_str(), aside_.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING) != FALSE;
  }
  ~UsersOwnShortcut() {
    if (had_) {
      MoveFileExW(aside_.c_str(), link_.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
    } else {
      DeleteFileW(link_.c_str());
    }
  }
  UsersOwnShortcut(const UsersOwnShortcut&) = delete;
  UsersOwnShortcut& operator=(const UsersOwnShortcut&) = delete;

 private:
  std::filesystem::path link_;
  std::filesystem::path aside_;
  bool had_ = false;
};

// "設 定" twice makes one shortcut that leads to the program; "解 除" removes it, and again
// does nothing.
void Config::TheStartupShortcutIsMadeAndRemoved(const std::filesystem::path& link) {
  Session& r = Start();
  const HWND d = OpenSettings(r);
  ASSERT_NE(d, nullptr);
  GoToPage(d, 4);
  ClickButton(Ctl(d, IDC_BTNSETSTARTUP));
  ClickButton(Ctl(d, IDC_BTNSETSTARTUP));  // twice: still one shortcut
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(link); })) << link;
  EXPECT_EQ(VisibleDialog(r.program, nullptr, d), nullptr);

  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    IShellLinkW* shellLink = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&shellLink))));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Load(link.c_str(), STGM_READ)));
    wchar_t path[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    wchar_t arguments[MAX_PATH] = {L'?'};
    shellLink->GetPath(path, MAX_PATH, nullptr, 0);
    shellLink->GetWorkingDirectory(folder, MAX_PATH);
    shellLink->GetArguments(arguments, MAX_PATH);
    EXPECT_TRUE(std::filesystem::equivalent(path, s.Exe())) << std::filesystem::path(path);
    EXPECT_EQ(std::wstring(folder), s.Folder().wstring() + L"\\");  // with its trailing backslash
    EXPECT_EQ(std::wstring(arguments), L"");
    file->Release();
    shellLink->Release();
  }
  CoUninitialize();

  ClickButton(Ctl(d, IDC_BTNDELSTARTUP));
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(link); }));
  ClickButton(Ctl(d, IDC_BTNDELSTARTUP));  // nothing left to remove: nothing to say
  Leave(d, IDCANCEL);
  EXPECT_EQ(VisibleDialog(r.program, nullptr, d), nullptr);
}

TEST_F(Config, TheStartupShortcutIsMadeResolvesToTheProgramAndIsRemoved) {
  const std::filesystem::path link = StartupFolderOfTheUser() / L"Lindqvale.lnk";
  // The user's own shortcut must come back as it was; where there is none, a stand-in plays it.
  struct StandIn {
    std::filesystem::path link;
    bool planted;
    ~StandIn() {
      if (planted) DeleteFileW(link.c_str());
    }
  } standIn{link, !std::filesystem::exists(link)};
  if (standIn.planted) std::ofstream(link, std::ios::binary) << "the user's own";
  const std::optional<std::string> own = FileBytes(link);
  ASSERT_TRUE(own.has_value());
  {
    const UsersOwnShortcut keep(link);
    ASSERT_FALSE(std::filesystem::exists(link));
    TheStartupShortcutIsMadeAndRemoved(link);
  }
  EXPECT_EQ(FileBytes(link), own);
}

}  // namespace
}  // namespace lq::e2e
