// The dialogs that work on the whole list: the search with its history, moving the open tasks of
// a day, and deleting the tasks up to a day.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "driver.h"
#include "mainwindow/automation.h"
#include "res/resource.h"
#include "store/datetext.h"

namespace lq::e2e {
namespace {

using namespace automation;
using ListDialogs = App;
using namespace std::chrono_literals;

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Date-picker messages carry a pointer, so the date goes through the program's own memory.
Date PickerDate(const Program& p, HWND picker) {
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, p.ProcessId());
  void* remote = VirtualAllocEx(process, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT, PAGE_READWRITE);
  SYSTEMTIME st{};
  SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, &st, sizeof st, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return Date{st.wYear, st.wMonth, st.wDay};
}

// A format 3.2 line due on a given day; the text is UTF-8.
std::string LineOn(Date due, bool done, const std::string& text) {
  return FormatDueDate(due) + ",20240101101010100," + (done ? Sj("済") : Sj("　")) + ",|||," + Sj(text);
}

// With LQ_E2E_SHOTS set to a folder, the dialog as the screen shows it goes there as a bitmap.
void Snapshot(HWND dialog, const wchar_t* name) {
  RECT rc{};
  GetWindowRect(dialog, &rc);
  lq::e2e::Snapshot(rc, name);
}

// Ctrl+key once the program is in front, as a hand gives it: Ctrl held until `done` holds.
// Under Wine a Ctrl given just after a window closed (a dialog, a message box) is now and then
// forgotten, apparently when the focus change brings the key state in line with the X keyboard,
// on which nothing is held; the letter then comes alone. So a shortcut without effect is given
// again.
template <typename Condition>
bool Shortcut(const Session& w, WORD key, Condition done) {
  EXPECT_TRUE(WaitUntil([&] {
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    return pid == w.program.ProcessId();
  })) << "the program is not in front";
  for (int attempt = 0; attempt < 3; ++attempt) {
    Key(VK_CONTROL, true);
    Press(key);
    const bool ok = WaitUntil(done, 2s);
    Key(VK_CONTROL, false);
    if (ok) return true;
  }
  return false;
}

// Selects the day field of a focused picker: on Windows a field is always selected, under Wine
// none until a key or a click; Right steps through the fields until Down changes the day.
bool SelectDayField(const Program& p, HWND picker) {
  for (int i = 0; i < 4; ++i) {
    Press(VK_RIGHT);
    const Date before = PickerDate(p, picker);
    Press(VK_DOWN);
    const Date after = PickerDate(p, picker);
    Press(VK_UP);
    if (after.year == before.year && after.month == before.month && after.day != before.day) return true;
  }
  return false;
}

constexpr const wchar_t* kSearchCaption = L"検索";
constexpr const wchar_t* kMoveCaption = L"移動元の全予定を移動先へ移動します";
constexpr const wchar_t* kDeleteCaption = L"指定日以前の予定を削除します";

// Opens a dialog by its shortcut.
HWND OpenDialog(const Session& w, WORD key, const wchar_t* caption) {
  HWND dialog = nullptr;
  Shortcut(w, key, [&] { return (dialog = VisibleDialog(w.program, caption)) != nullptr; });
  return dialog;
}

// Opens the search dialog with Ctrl+F and waits until its box has the focus.
HWND OpenSearch(Session& w) {
  const HWND dialog = OpenDialog(w, 'F', kSearchCaption);
  EXPECT_NE(dialog, nullptr) << "no search dialog; edit mode " << w.program.Query(kEditMode) << ", editors "
                             << w.Editors() << ", current row " << w.Current();
  if (!dialog) return nullptr;
  const HWND edit = FindWindowExW(GetDlgItem(dialog, IDC_SEARCH_EDTSRCH), nullptr, L"Edit", nullptr);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == edit; })) << "the box did not get the focus";
  return dialog;
}

// The keys belong to the list again once the dialog or message box is gone.
bool BackInTheList(const Session& w) {
  return WaitUntil([&] { return (w.Editors() & kListFocused) != 0; });
}

bool Closed(HWND dialog) {
  return WaitUntil([&] { return !IsWindowVisible(dialog); });
}

TEST_F(ListDialogs, SearchFindsDownAndUpAndSaysWhatItDidNotFind) {
  Tasks({TaskLine(1, false, "会議 A"), TaskLine(2, false, "買い物"), TaskLine(3, false, "会議 B"),
         TaskLine(4, false, "ポイント")});
  Session& w = Start();
  ASSERT_EQ(w.Current(), 1);

  HWND dialog = OpenSearch(w);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(GetDlgItem(dialog, IDC_SEARCH_RADSRCHDN)));
  Type(L"会議");
  Snapshot(dialog, L"search");
  Press(VK_RETURN);
  ASSERT_TRUE(Closed(dialog));
  EXPECT_TRUE(WaitUntil([&] { return w.Current() == 3; }));  // the current row itself is skipped
  EXPECT_TRUE(BackInTheList(w));

  // The text stays in the box; Page Up turns the search upwards.
  dialog = OpenSearch(w);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SEARCH_EDTSRCH)), L"会議");
  Press(VK_PRIOR);
  EXPECT_TRUE(Checked(GetDlgItem(dialog, IDC_SEARCH_RADSRCHUP)));
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SEARCH_EDTSRCH)), L"会議");
  Press(VK_RETURN);
  ASSERT_TRUE(Closed(dialog));
  EXPECT_TRUE(WaitUntil([&] { return w.Current() == 1; }));

  // "|" is the second byte of ポ: no match there.
  dialog = OpenSearch(w);
  ASSERT_NE(dialog, nullptr);
  Press(VK_NEXT);
  Type(L"|");
  Press(VK_RETURN);
  const auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"情報");
  EXPECT_EQ(box->text, L"『|』は見つかりませんでした。");
  Program::Answer(*box, IDOK);
  EXPECT_TRUE(BackInTheList(w));
  EXPECT_EQ(w.Current(), 1);
  Press(VK_DOWN);  // the keys reach the list again
  EXPECT_EQ(w.Current(), 2);
  Close();
  const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
  EXPECT_NE(ini.find("0=|\r\n1=" + Sj("会議") + "\r\n2=\r\n"), std::string::npos) << ini;
}

TEST_F(ListDialogs, SearchHistoryIsWrittenAsOneLineEachAndReadAtEveryOpening) {
  Settings(Sj("[Find]\r\n0=ポ表\r\n1=\r\n2=old\r\n"));
  Tasks({TaskLine(1, false, "task")});
  // Two lines on the clipboard, pasted into the box below: only the first is searched and
  // remembered.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const std::wstring pasted = L"first\r\n[Settings]\r\nDoneDown=0";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();

  Session& w = Start();
  HWND dialog = OpenSearch(w);
  ASSERT_NE(dialog, nullptr);
  const HWND combo = GetDlgItem(dialog, IDC_SEARCH_EDTSRCH);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
  wchar_t item[64] = {};
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"ポ表");

  EXPECT_TRUE(Shortcut(w, 'V', [&] {
    if (TextOf(combo).starts_with(L"first")) return true;
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));  // a lone "v" goes at the next try
    return false;
  })) << "Ctrl+V pasted nothing";
  Press(VK_RETURN);
  auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"『first』は見つかりませんでした。");
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(BackInTheList(w));
  const std::string ini = s.Read(L"Lindqvale.ini").value_or("");
  EXPECT_NE(ini.find(Sj("0=first\r\n1=ポ表\r\n2=old\r\n3=\r\n4=\r\n")), std::string::npos) << ini;
  EXPECT_EQ(ini.find("DoneDown"), std::string::npos) << ini;

  // A hand edit while the program runs shows at the next opening.
  Settings("[Find]\r\n0=new\r\n");
  dialog = OpenSearch(w);
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"new");
  // Blanks around a text survive the settings file, which drops them from plain values.
  Type(L" ta ");
  Press(VK_RETURN);
  box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  Program::Answer(*box, IDOK);
  ASSERT_TRUE(BackInTheList(w));
  dialog = OpenSearch(w);
  ASSERT_NE(dialog, nullptr);
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L" ta ");
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed(dialog));
}

TEST_F(ListDialogs, MoveDateMovesTheOpenTasksOfTheDayAndOpensThePicker) {
  // Day 10 of next month, so stepping the day field five days on never wraps.
  Date from = AddDays(Today(), 40);
  from.day = 10;
  Tasks({LineOn(from, false, "a"), LineOn(from, false, "b"), LineOn(from, false, "c"), LineOn(from, true, "done"),
         LineOn(AddDays(from, 1), false, "next day")});
  Session& w = Start();
  ASSERT_EQ(w.program.Cell(2, 1), "a");

  const HWND dialog = OpenDialog(w, 'G', kMoveCaption);
  ASSERT_NE(dialog, nullptr);
  const HWND source = GetDlgItem(dialog, IDC_MOVEDATE_CMBFROM);
  const HWND dest = GetDlgItem(dialog, IDC_MOVEDATE_CMBDEST);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == dest; }));
  EXPECT_EQ(PickerDate(w.program, source), from);
  EXPECT_EQ(PickerDate(w.program, dest), from);
  // Down goes into the future and Up into the past (DateCursorTurn is on).
  ASSERT_TRUE(SelectDayField(w.program, dest));
  ASSERT_EQ(PickerDate(w.program, dest), from);
  for (int i = 0; i < 6; ++i) Press(VK_DOWN);
  Press(VK_UP);
  const Date to = AddDays(from, 5);
  ASSERT_EQ(PickerDate(w.program, dest), to);
  Snapshot(dialog, L"movedate");
  Press(VK_RETURN);
  ASSERT_TRUE(Closed(dialog));

  ASSERT_TRUE(WaitUntil([&] { return w.program.Cell(2, 2) == "a"; }));
  const std::string days = std::to_string(DayNumber(to) - DayNumber(Today()));
  for (int row = 2; row <= 4; ++row) {
    EXPECT_EQ(w.program.Cell(0, row), FormatDueDate(to)) << row;
    EXPECT_EQ(w.program.Cell(1, row), days) << row;
    EXPECT_EQ(w.program.Cell(3, row), "20240101101010100") << row;  // the stamps stay
  }
  EXPECT_EQ(w.program.Cell(2, 5), "done");
  EXPECT_EQ(w.program.Cell(0, 5), FormatDueDate(from));
  EXPECT_EQ(w.program.Cell(0, 0), "4/5");
  // The task that was current is still current, with the date picker open on it.
  EXPECT_EQ(w.Current(), 2);
  EXPECT_TRUE(WaitUntil([&] { return (w.Editors() & kDatePickerFocused) != 0; }));
}

TEST_F(ListDialogs, BulkDeleteDoneOnlyThenEverythingEachTimeKeepingTheListBeforeIt) {
  Tasks({TaskLine(-3, false, "old open"), TaskLine(-3, true, "old done"), TaskLine(0, false, "today open"),
         TaskLine(0, true, "today done"), TaskLine(3, false, "future")});
  Session& w = Start();
  Press(VK_RETURN);  // Ctrl+H works through the list's menu: the list takes the focus
  Press(VK_DOWN);
  ASSERT_EQ(w.program.Cell(2, 2), "today open");
  ASSERT_EQ(w.Current(), 2);

  const auto open = [&] {
    const HWND dialog = OpenDialog(w, 'H', kDeleteCaption);
    EXPECT_NE(dialog, nullptr) << "no bulk-delete dialog";
    if (dialog) {
      EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_PASTDELETE_CMBFROM); }));
    }
    return dialog;
  };

  // Unchecked and cancelled: nothing happens, and the box is checked again next time.
  HWND dialog = open();
  ASSERT_NE(dialog, nullptr);
  const HWND doneOnly = GetDlgItem(dialog, IDC_PASTDELETE_CHKDONEONLY);
  EXPECT_TRUE(Checked(doneOnly));
  EXPECT_EQ(PickerDate(w.program, GetDlgItem(dialog, IDC_PASTDELETE_CMBFROM)), Today());
  SendMessageW(doneOnly, BM_CLICK, 0, 0);
  ASSERT_FALSE(Checked(doneOnly));
  Press(VK_ESCAPE);
  ASSERT_TRUE(Closed(dialog));
  EXPECT_TRUE(BackInTheList(w));
  EXPECT_EQ(w.program.Cell(0, 0), "3/5");

  dialog = open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(doneOnly));
  Snapshot(dialog, L"pastdelete");
  Press(VK_RETURN);
  auto box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"情報");
  EXPECT_TRUE(box->text.starts_with(L"2件の予定を削除しました。")) << box->text;
  EXPECT_NE(box->text.find(L"Lindqvale.csv.bak"), std::wstring::npos) << box->text;
  Program::Answer(*box, IDOK);
  EXPECT_TRUE(BackInTheList(w));
  EXPECT_EQ(w.program.Cell(0, 0), "3/3");
  EXPECT_EQ(w.Current(), 2);  // still the same task
  EXPECT_EQ(w.program.Cell(2, 2), "today open");

  // From the last task's day, unchecked: everything goes, one empty row is left.
  Press(VK_END);
  dialog = open();
  ASSERT_NE(dialog, nullptr);
  SendMessageW(doneOnly, BM_CLICK, 0, 0);
  Press(VK_RETURN);
  box = w.program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(box->text.starts_with(L"3件の予定を削除しました。")) << box->text;
  EXPECT_NE(box->text.find(L"Lindqvale.csv.2.bak"), std::wstring::npos) << box->text;
  Program::Answer(*box, IDOK);
  EXPECT_TRUE(BackInTheList(w));
  EXPECT_EQ(w.program.Cell(0, 0), "0/0");
  EXPECT_EQ(w.program.Query(kRowCount), 2);
  EXPECT_EQ(w.program.Cell(2, 1), "");
  Close();

  EXPECT_EQ(s.Read(L"Lindqvale.csv").value_or(""), FileOf({kHeader32}));
  const std::string first = s.Read(L"Lindqvale.csv.bak").value_or("");
  const std::string second = s.Read(L"Lindqvale.csv.2.bak").value_or("");
  for (const char* t : {"old open", "old done", "today open", "today done", "future"}) {
    EXPECT_NE(first.find(t), std::string::npos) << t;
  }
  EXPECT_EQ(second.find("done"), std::string::npos) << second;
  EXPECT_NE(second.find("future"), std::string::npos) << second;
}

TEST_F(ListDialogs, LosingTheActivationClosesADialogAsCancelled) {
  struct Case {
    WORD key;
    const wchar_t* caption;
  };
  for (const Case& c : {Case{'F', kSearchCaption}, Case{'G', kMoveCaption}, Case{'H', kDeleteCaption}}) {
    SCOPED_TRACE(static_cast<char>(c.key));
    NextCase();
    Tasks({TaskLine(-1, true, "done"), TaskLine(0, false, "open")});
    Session& w = Start();
    Press(VK_RETURN);
    const HWND dialog = OpenDialog(w, c.key, c.caption);
    ASSERT_NE(dialog, nullptr);
    if (c.key == 'F') Type(L"open");
    Foreground(ForeignWindow());
    EXPECT_TRUE(Closed(dialog));
    EXPECT_TRUE(WaitUntil([&] { return w.program.Query(kEditMode) == 0; }));
    EXPECT_FALSE(w.program.HasMessageBox());
    EXPECT_EQ(w.program.Cell(0, 0), "1/2");
    EXPECT_EQ(w.Current(), 1);
    Close();
    EXPECT_EQ(s.Read(L"Lindqvale.ini").value_or("").find("[Find]"), std::string::npos);
  }
}

}  // namespace
}  // namespace lq::e2e
